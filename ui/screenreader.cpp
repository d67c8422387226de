// SPDX-License-Identifier: GPL-2.0-or-later
#include "screenreader.h"

#include <QLabel>

#include "bytetext.h"
#include "optiontree.h"

namespace cvarden {
namespace {

struct Spoken {
    const char *control;
    const char *name;
    const char *description;
};

// The buttons keep the words of their captions and tooltips.
constexpr Spoken spokenControls[] = {
    {"optiontree", "Options", "The game's options in their folders; select one to see and change its value"},
    {"val_value", "Value", "The selected option's value, as the game reads it; stored as you type"},
    {"val_combo", "Value", "The selected option's value, one of its choices"},
    {"val_check", "Value", "Whether the selected option is on"},
    {"Command1", "About", "About Cvarden"},
    {"Command2", "Default value", "Gives the selected option its default value"},
    {"Command3", "Save", "Save settings to q3config.cfg"},
    {"Command4", "Open", "Import settings from your q3config.cfg file"},
    {"Command5", "Reset def.", "Reset all values to their default value"},
    {"Command6", "Quit", "Quit Cvarden"},
    {"desclbl", "Description", "What the selected option does"},
    {"Text1", "Updates are available at", "The web page where updates are published"},
};

template <class Control> Control *child(QWidget *window, const char *name)
{
    return window->findChild<Control *>(QString::fromLatin1(name));
}

} // namespace

void NameControlsForScreenReaders(QWidget *window)
{
    for (const Spoken &spoken : spokenControls) {
        if (QWidget *control = child<QWidget>(window, spoken.control)) {
            control->setAccessibleName(QObject::tr(spoken.name));
            control->setAccessibleDescription(QObject::tr(spoken.description));
        }
    }
}

void DescribeSelectedOption(QWidget *window, const OptionNode &option)
{
    QWidget *onScreen = nullptr;
    for (const char *editor : {"val_value", "val_check", "val_combo"}) {
        QWidget *each = child<QWidget>(window, editor);
        if (each && !each->isHidden())
            onScreen = each;
    }
    if (auto *label = child<QLabel>(window, "Label1"))
        label->setBuddy(onScreen);
    // A name of its own would hide the label's text from the reader.
    if (auto *description = child<QLabel>(window, "desclbl"))
        description->setAccessibleName(description->text().isEmpty()
                                           ? QObject::tr("Description")
                                           : QObject::tr("Description: %1").arg(description->text()));
    QWidget *check = child<QWidget>(window, "val_check");
    if (check && check == onScreen)
        check->setAccessibleDescription(QObject::tr("Ticked, \"%1\" is on (%2 1); not ticked, it is off (0)")
                                            .arg(FromBytes(option.text), FromBytes(option.variable())));
}

} // namespace cvarden
