// SPDX-License-Identifier: GPL-2.0-or-later
#include "configfiledialog.h"

#include <QFileInfo>

#include "gamefolders.h"

namespace cvarden {

ConfigFileDialog::ConfigFileDialog(QWidget *parent) : QFileDialog(parent)
{
    setObjectName(QStringLiteral("cmd"));
    // Qt's own dialog behaves the same on every platform, and it can be told
    // to accept only an existing file in its save form as well.
    setOption(DontUseNativeDialog);
    setWindowTitle(tr("Locate q3config.cfg"));
    setNameFilter(tr("Q3 Config file (q3config.cfg)"));
    setFileMode(ExistingFile);
    setDirectory(FirstExistingFolder(UsualGameFolders()));
    selectFile(QStringLiteral("q3config.cfg"));
}

QString ConfigFileDialog::ChooseExisting(AcceptMode form)
{
    setAcceptMode(form);
    if (exec() != Accepted)
        return {};
    const QString chosen = selectedFiles().value(0);
    selectFile(chosen);
    return QFileInfo(chosen).isFile() ? chosen : QString();
}

} // namespace cvarden
