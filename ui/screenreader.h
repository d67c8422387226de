// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

class QWidget;

namespace cvarden {

struct OptionNode;

// Gives the main window's controls the names and descriptions a screen
// reader says, found by their object names; nothing on screen changes.
void NameControlsForScreenReaders(QWidget *window);

// After an option (or a folder) is selected and its description shown: ties
// the "Value:" label to the editor now on screen, says in the check box's
// description what a tick means for that option, and has the description
// read with its heading.
void DescribeSelectedOption(QWidget *window, const OptionNode &option);

} // namespace cvarden
