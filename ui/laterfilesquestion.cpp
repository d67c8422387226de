// SPDX-License-Identifier: GPL-2.0-or-later
#include "laterfilesquestion.h"

#include <QMessageBox>
#include <QPushButton>

#include "bytetext.h"
#include "programinfo.h"

namespace cvarden {

std::optional<LaterFilesToo> AskAboutLaterFiles(QWidget *window, const SavePlan &plan, const OptionTree &tree)
{
    QStringList lines;
    for (const NotHolding &value : plan.willNotHold)
        lines << QObject::tr("%1: %2").arg(FromSystemText(tree.item(value.option).text),
                                           FromSystemText(DescribeLaterSetting(value.where)));
    const QString said = lines.size() == 1
                             ? QObject::tr("A value you save would not hold: the game sets it again at every start, "
                                           "in a file it runs after this one.")
                             : QObject::tr("%1 values you save would not hold: the game sets them again at every "
                                           "start, in files it runs after this one.")
                                   .arg(lines.size());
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(program::name), said, QMessageBox::NoButton, window);
    box.setInformativeText(lines.join(QLatin1Char('\n')) +
                           QObject::tr("\n\nWrite these values into those files as well? Each gets its own backup "
                                       "copy and versions."));
    QPushButton *intoThem = box.addButton(QObject::tr("Write them there too"), QMessageBox::YesRole);
    QPushButton *onlyThis = box.addButton(QObject::tr("Save only this file"), QMessageBox::NoRole);
    box.addButton(QMessageBox::Cancel);
    // Other files are written only when the player says so.
    box.setDefaultButton(onlyThis);
    box.exec();
    if (box.clickedButton() == intoThem)
        return LaterFilesToo::Yes;
    if (box.clickedButton() == onlyThis)
        return LaterFilesToo::No;
    return std::nullopt;
}

} // namespace cvarden
