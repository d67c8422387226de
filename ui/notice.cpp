// SPDX-License-Identifier: GPL-2.0-or-later
#include "notice.h"

#include "programinfo.h"

namespace cvarden {

void ShowNotice(QWidget *window, QMessageBox::Icon icon, const QString &text, const QString &reason)
{
    auto *box = new QMessageBox(icon, QString::fromLatin1(program::name), text, QMessageBox::Ok, window);
    box->setInformativeText(reason);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace cvarden
