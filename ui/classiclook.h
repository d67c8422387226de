// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QFont>

class QLineEdit;
class QWidget;

namespace cvarden {

// The windows are laid out in fixed pixels for "MS Sans Serif" 8.25 pt, which
// is 11 pixels high at 96 dots per inch. Where that font is missing, the
// platform's sans-serif takes its place at the same pixel size, so that the
// layout does not grow with the screen's dots per inch.
QFont ClassicFont();

// Gives a fixed form the classic font, then narrows the font of any caption
// that would not fit its control: most sans-serif faces run wider than
// "MS Sans Serif".
void ApplyClassicLook(QWidget *form);

// The room a control gives its caption, in pixels across.
int CaptionRoom(const QWidget *control);

// A read-only address box that reads as a link: underlined dark blue text on
// the button-face colour, or the palette's link colour where that face is dark.
void ShowAsLink(QLineEdit *address, const QString &url);

} // namespace cvarden
