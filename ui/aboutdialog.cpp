// SPDX-License-Identifier: GPL-2.0-or-later
#include "aboutdialog.h"

#include "classiclook.h"
#include "images.h"
#include "programinfo.h"
#include "ui_aboutdialog.h"

namespace cvarden {

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::AboutDialog>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(ProgramIcon());
    setFixedSize(size());
    ui->Label1->setText(
        tr("%1\nVersion %2").arg(QString::fromLatin1(program::name), QString::fromLatin1(program::version)));
    ApplyClassicLook(this);
    ShowAsLink(ui->Text1, QString::fromLatin1(program::address));
}

AboutDialog::~AboutDialog() = default;

} // namespace cvarden
