// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QObject>

class QComboBox;

namespace cvarden {

// Keeps the list of an editable choice box standing on the item equal to the
// text the box shows, or on no item when none is equal, so that the arrow
// keys, the wheel and the opened list go on from the value the player sees.
// A wheel turned over the box while it does not have the focus changes
// nothing: the player was scrolling past it.
class ChoiceListFollower : public QObject {
    Q_OBJECT

public:
    explicit ChoiceListFollower(QComboBox *combo);

    // Puts the list on the item equal to the shown text, leaving the text as
    // it is and reporting no change of it.
    void Follow();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QComboBox *combo_;
};

} // namespace cvarden
