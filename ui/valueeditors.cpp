// SPDX-License-Identifier: GPL-2.0-or-later
#include "valueeditors.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <initializer_list>
#include <limits>
#include <optional>

#include "bytetext.h"
#include "checkstate.h"
#include "choicelistfollower.h"

namespace cvarden {
namespace {

// A choice whose list shows its meaning ("6 \u2014 1024x768") while its edit
// text, which an editable box puts into its field and the store keeps, is
// the bare value.
class ChoiceItem : public QStandardItem {
public:
    ChoiceItem(const QString &value, const QString &shown) : QStandardItem(shown) { setData(value, Qt::UserRole); }
    QVariant data(int role) const override
    {
        return QStandardItem::data(role == Qt::EditRole ? int(Qt::UserRole) : role);
    }
};

} // namespace

ValueEditors::ValueEditors(QLineEdit *value, QCheckBox *check, QComboBox *combo, ValueStore &store,
                           const EngineInUse &engine, QObject *parent)
    : QObject(parent), val_value(value), val_check(check), val_combo(combo), choiceList_(new ChoiceListFollower(combo)),
      store_(store), engine_(engine)
{
    // A value longer than the editors' usual limit would be cut short and the
    // shortened text stored over the player's own.
    val_value->setMaxLength(std::numeric_limits<int>::max());
    val_combo->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
    // Completing typed text from the list would store a choice the player did
    // not type.
    val_combo->setCompleter(nullptr);

    connect(val_value, &QLineEdit::textChanged, this, &ValueEditors::val_value_Change);
    connect(val_check, &QCheckBox::stateChanged, this, &ValueEditors::val_check_Click);
    connect(val_combo, &QComboBox::editTextChanged, this, &ValueEditors::val_combo_Change);
    connect(val_combo, &QComboBox::activated, this, &ValueEditors::val_combo_Click);
}

void ValueEditors::ShowOption(const OptionNode &node)
{
    current_ = &node;
    // A folder has no editor: hiding them all keeps anything from being typed
    // and stored under a folder's name.
    QWidget *editor = EditorOfKind(node.kind);
    for (QWidget *each : std::initializer_list<QWidget *>{val_value, val_check, val_combo})
        each->setVisible(each == editor);
    if (editor == val_combo)
        FillChoices(ChoicesInUse(engine_, node));
    // Another run (cvarden-cli, a second window) may have saved it since; a
    // store that cannot be read shows the defaults, and says so at a save.
    static_cast<void>(store_.reload());
    const std::string value = store_.Get(node.text, DefaultInUse(engine_, node));
    PutValue(value);
    MarkVerdict(value);
}

void ValueEditors::ShowDefault()
{
    if (!current_ || !EditorOfKind(current_->kind))
        return;
    const std::string defaultValue = DefaultInUse(engine_, *current_);
    PutValue(defaultValue);
    // An editor that already showed the default reports no change, yet the
    // store may hold another value (taken over by an import since): the
    // default is stored all the same, so what the player sees is what a save
    // writes.
    Store(FromBytes(defaultValue));
}

QWidget *ValueEditors::EditorOfKind(Kind kind) const
{
    switch (kind) {
    case Kind::Value:
        return val_value;
    case Kind::Check:
        return val_check;
    case Kind::Combo:
        return val_combo;
    case Kind::Folder:
    case Kind::Unknown:
        break;
    }
    return nullptr;
}

void ValueEditors::PutValue(const std::string &value)
{
    QWidget *editor = EditorOfKind(current_->kind);
    if (editor == val_value)
        val_value->setText(FromBytes(value));
    else if (editor == val_check)
        PutCheckValue(value);
    else if (editor == val_combo)
        PutChoice(FromBytes(value));
}

void ValueEditors::PutChoice(const QString &value)
{
    val_combo->setEditText(value);
    choiceList_->Follow();
}

void ValueEditors::PutCheckValue(const std::string &value)
{
    const std::optional<Qt::CheckState> state = CheckStateOf(value);
    // A text that no state matches shows grey, and one that spells its state
    // otherwise ("1.0") shows that state, both without storing: the player's
    // value stays as it is until they click the box.
    std::optional<QSignalBlocker> quiet;
    if (!state || StoredCheckState(*state) != value)
        quiet.emplace(val_check);
    const Qt::CheckState shown = state.value_or(Qt::PartiallyChecked);
    val_check->setTristate(shown == Qt::PartiallyChecked);
    val_check->setCheckState(shown);
}

void ValueEditors::FillChoices(const std::vector<ShownChoice> &choices)
{
    const QScopedValueRollback busy(fillingChoices_, true);
    val_combo->clear();
    auto *model = qobject_cast<QStandardItemModel *>(val_combo->model());
    for (const ShownChoice &choice : choices) {
        const QString value = FromBytes(choice.value);
        model->appendRow(new ChoiceItem(
            value, choice.meaning.empty() ? value : value + QString::fromUtf8(" \u2014 ") + FromBytes(choice.meaning)));
    }
    // The opened list is as wide as its longest meaning, not the box.
    QAbstractItemView *list = val_combo->view();
    list->setMinimumWidth(list->sizeHintForColumn(0) + list->verticalScrollBar()->sizeHint().width());
}

// A value the engine would not keep as it is shows in red, and says in its
// tip what the engine makes of it.
void ValueEditors::MarkVerdict(const std::string &value)
{
    // With no engine known the editors behave as they always did.
    const std::string problem =
        current_ && engine_.engine != Engine::None ? ValueProblem(engine_, current_->variable(), value) : std::string();
    for (QWidget *editor : std::initializer_list<QWidget *>{val_value, val_check, val_combo}) {
        QPalette marked;
        if (editor == EditorOfKind(current_ ? current_->kind : Kind::Folder) && !problem.empty()) {
            marked.setColor(QPalette::Text, Qt::red);
            marked.setColor(QPalette::WindowText, Qt::red);
        }
        editor->setPalette(marked);
        editor->setToolTip(FromBytes(problem));
    }
}

void ValueEditors::Store(const QString &value)
{
    // Before the first selection no option owns the editors' text.
    if (!current_)
        return;
    if (const Outcome saved = store_.Save(current_->text, ToBytes(value)); saved.failed())
        emit storeFailed(FromSystemText(saved.message()));
    MarkVerdict(ToBytes(value));
    emit valueStored();
}

void ValueEditors::val_value_Change(const QString &text)
{
    Store(text);
}

void ValueEditors::val_check_Click(int state)
{
    // Once clicked out of grey, the box goes back to plain on and off.
    if (state != Qt::PartiallyChecked)
        val_check->setTristate(false);
    Store(QString::fromStdString(StoredCheckState(static_cast<Qt::CheckState>(state))));
}

void ValueEditors::val_combo_Change(const QString &text)
{
    if (!fillingChoices_)
        Store(text);
}

void ValueEditors::val_combo_Click()
{
    Store(val_combo->currentText());
}

} // namespace cvarden
