// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QObject>
#include <string>
#include <vector>

#include "enginevalues.h"
#include "optiontree.h"
#include "valuestore.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;

namespace cvarden {

class ChoiceListFollower;

// The three value editors of the main window and the current option they
// edit. Every change of an editor's content, typed by the player or set by the
// program, is stored at once under the current option's display name.
class ValueEditors : public QObject {
    Q_OBJECT

public:
    // `engine` is the window's, which may change between selections.
    ValueEditors(QLineEdit *val_value, QCheckBox *val_check, QComboBox *val_combo, ValueStore &store,
                 const EngineInUse &engine, QObject *parent);

    // Makes the node the current option and shows the editor of its kind with
    // the stored value, or the catalogue default when nothing is stored.
    void ShowOption(const OptionNode &node);
    // Puts the current option's default (the engine's in use, else the
    // catalogue's) into its editor, which stores it.
    void ShowDefault();

signals:
    void storeFailed(const QString &reason);
    // After every save of an editor's value, whether or not it succeeded.
    void valueStored();

private:
    QWidget *EditorOfKind(Kind kind) const;
    void PutValue(const std::string &value);
    void PutCheckValue(const std::string &value);
    void PutChoice(const QString &value);
    void FillChoices(const std::vector<ShownChoice> &choices);
    void MarkVerdict(const std::string &value);
    void Store(const QString &value);

    void val_value_Change(const QString &text);
    void val_check_Click(int state);
    void val_combo_Change(const QString &text);
    void val_combo_Click();

    QLineEdit *val_value;
    QCheckBox *val_check;
    QComboBox *val_combo;
    ChoiceListFollower *choiceList_;
    ValueStore &store_;
    const EngineInUse &engine_;
    // The node selected last; only a selection changes it. The tree does not
    // change after loading, so the node stays where it is.
    const OptionNode *current_ = nullptr;
    // Set while FillChoices rebuilds the list, whose own text changes are not
    // the player's value.
    bool fillingChoices_ = false;
};

} // namespace cvarden
