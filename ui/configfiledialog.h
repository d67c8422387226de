// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QFileDialog>

namespace cvarden {

// The dialog in which the player picks the game's q3config.cfg, for both
// "&Open" and "&Save". It remembers the file chosen last for the next use.
class ConfigFileDialog : public QFileDialog {
    Q_OBJECT

public:
    explicit ConfigFileDialog(QWidget *parent);

    // Shows the dialog in the given form and returns the existing file the
    // player chose, or the empty text when they cancelled or the file is gone.
    QString ChooseExisting(AcceptMode form);
};

} // namespace cvarden
