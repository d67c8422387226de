// SPDX-License-Identifier: GPL-2.0-or-later
#include "runninggamequestion.h"

#include <QDir>
#include <QMessageBox>
#include <QPushButton>

#include "bytetext.h"
#include "programinfo.h"
#include "runninggame.h"

namespace cvarden {

bool SaveDespiteRunningGame(QWidget *window, const QString &file)
{
    const std::vector<std::string> engines = RunningEnginesForMe();
    if (engines.empty())
        return true;
    QStringList names;
    for (const std::string &engine : engines)
        names << FromSystemText(engine);
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(program::name),
                    QObject::tr("The game is running (%1).").arg(names.join(QStringLiteral(", "))),
                    QMessageBox::NoButton, window);
    box.setInformativeText(QObject::tr("It writes %1 again when it quits, which would undo this save. Quit the "
                                       "game first, or save anyway?")
                               .arg(QDir::toNativeSeparators(file)));
    QPushButton *save = box.addButton(QObject::tr("Save anyway"), QMessageBox::AcceptRole);
    box.setDefaultButton(box.addButton(QMessageBox::Cancel));
    box.exec();
    return box.clickedButton() == save;
}

} // namespace cvarden
