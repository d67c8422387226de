// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QMessageBox>
#include <QString>

namespace cvarden {

// Tells the player something in a message box over `window`. The box blocks
// only that window and the call returns at once, so a notice raised inside an
// editor's handler never stops the handler half-way.
void ShowNotice(QWidget *window, QMessageBox::Icon icon, const QString &text, const QString &reason = {});

} // namespace cvarden
