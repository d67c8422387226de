// SPDX-License-Identifier: GPL-2.0-or-later
#include "choicelistfollower.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QSignalBlocker>

namespace cvarden {
namespace {

// The keys with which a choice box steps through its list or opens it.
bool StepsOrOpensList(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_F4:
        return true;
    default:
        return false;
    }
}

} // namespace

ChoiceListFollower::ChoiceListFollower(QComboBox *combo) : QObject(combo), combo_(combo)
{
    // A choice box takes the focus from the wheel by default, and with it
    // the player's value.
    combo_->setFocusPolicy(Qt::StrongFocus);
    combo_->installEventFilter(this);
}

void ChoiceListFollower::Follow()
{
    const QString shown = combo_->currentText();
    // A choice's list text may carry its meaning; its bare value is its edit text.
    const int item = combo_->findData(shown, Qt::EditRole, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (item == combo_->currentIndex())
        return;
    // Moving the list puts the item's text into the text field, or clears it
    // for no item: the shown text goes back, and none of it is an edit.
    const QSignalBlocker quiet(combo_);
    combo_->setCurrentIndex(item);
    combo_->setEditText(shown);
}

bool ChoiceListFollower::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != combo_)
        return false;
    switch (event->type()) {
    case QEvent::Wheel:
        if (!combo_->hasFocus())
            return true;
        Follow();
        break;
    case QEvent::KeyPress:
        if (StepsOrOpensList(static_cast<QKeyEvent *>(event)))
            Follow();
        break;
    case QEvent::MouseButtonPress:
        Follow();
        break;
    default:
        break;
    }
    return false;
}

} // namespace cvarden
