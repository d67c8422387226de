// SPDX-License-Identifier: GPL-2.0-or-later
#include "classiclook.h"

#include <algorithm>

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace cvarden {
namespace {

constexpr int classicPixelSize = 11;

QString CaptionOf(const QWidget *control)
{
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return label->wordWrap() ? QString() : label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text();
    return {};
}

int CaptionWidth(const QFont &font, const QString &caption)
{
    return QFontMetrics(font).size(Qt::TextShowMnemonic, caption).width();
}

void NarrowToFit(QWidget *control)
{
    const QString caption = CaptionOf(control);
    const int room = CaptionRoom(control);
    QFont font = control->font();
    const int width = caption.isEmpty() ? 0 : CaptionWidth(font, caption);
    if (width <= room)
        return;
    // Text narrows about in step with the stretch, so one guess lands close;
    // each further try loads another font, which is slow at start-up.
    for (int stretch = std::max<int>(QFont::UltraCondensed, QFont::Unstretched * room / width);
         stretch >= QFont::UltraCondensed; stretch -= 2) {
        font.setStretch(stretch);
        if (CaptionWidth(font, caption) <= room)
            break;
    }
    control->setFont(font);
}

} // namespace

QFont ClassicFont()
{
    // The window is laid out for "MS Sans Serif"; where it is missing, the
    // platform's own sans-serif takes its place at the same pixel size.
    const QString classic = QStringLiteral("MS Sans Serif");
    QFont font = QFontDatabase::families().contains(classic) ? QFont(classic)
                                                             : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(classicPixelSize);
    return font;
}

void ApplyClassicLook(QWidget *form)
{
    form->setFont(ClassicFont());
    // Dialogs the form owns, such as the file dialog, keep their own look.
    for (QWidget *control : form->findChildren<QWidget *>()) {
        if (control->window() == form)
            NarrowToFit(control);
    }
}

int CaptionRoom(const QWidget *control)
{
    const QStyle *style = control->style();
    if (qobject_cast<const QCheckBox *>(control))
        return control->width() - style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, control) -
               style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, control);
    if (qobject_cast<const QPushButton *>(control))
        return control->width() - 2 * style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, control);
    return control->contentsRect().width();
}

void ShowAsLink(QLineEdit *address, const QString &url)
{
    address->setText(url);
    address->setReadOnly(true);
    address->setFrame(false);
    // Not a stop of the Tab key, yet a click still lets the player copy it.
    address->setFocusPolicy(Qt::ClickFocus);
    QFont font = address->font();
    font.setUnderline(true);
    address->setFont(font);
    QPalette palette = address->palette();
    // The designed dark blue reads well on a light button face; on a dark one
    // (a dark desktop theme) it all but vanishes, and the theme's own link
    // colour is the one made to be read there.
    const bool dark = palette.color(QPalette::Button).lightness() < 128;
    palette.setColor(QPalette::Text, dark ? palette.color(QPalette::Link) : QColor(0, 0, 192));
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    address->setPalette(palette);
}

} // namespace cvarden
