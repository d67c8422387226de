// SPDX-License-Identifier: GPL-2.0-or-later
#include "typeaheadfind.h"

#include <QKeyEvent>
#include <QTimer>
#include <QTreeWidget>

#include "bytetext.h"
#include "nodeitems.h"
#include "optionsearch.h"

namespace cvarden {
namespace {

constexpr int pauseMilliseconds = 1000;

// Keys the tree acts on itself (select, open, close, open all) when no text
// is being typed.
bool IsTreeKey(const QString &text)
{
    return text == QLatin1String(" ") || text == QLatin1String("+") || text == QLatin1String("-") ||
           text == QLatin1String("*");
}

} // namespace

TypeAheadFind::TypeAheadFind(QTreeWidget *tree, const OptionTree &options, QObject *parent)
    : QObject(parent), tree_(tree), options_(options), pause_(new QTimer(this))
{
    pause_->setObjectName(QStringLiteral("typeAheadPause"));
    pause_->setSingleShot(true);
    pause_->setInterval(pauseMilliseconds);
    tree_->installEventFilter(this);
}

bool TypeAheadFind::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != tree_ || event->type() != QEvent::KeyPress)
        return false;
    return Type(static_cast<QKeyEvent *>(event));
}

bool TypeAheadFind::Type(const QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        pause_->stop();
        return false;
    }
    if (!pause_->isActive())
        openedFolder_ = nullptr; // a finished find keeps what it opened
    const QString text = event->text();
    if (text.isEmpty() || !text.front().isPrint() ||
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    const bool adding = pause_->isActive();
    if (!adding && IsTreeKey(text))
        return false;
    typed_ = adding ? typed_ + text : text;
    pause_->start();
    // A longer text may still fit the option found so far; a new one looks
    // past it, so typing the same start again goes on to the next option.
    Show(FindOption(options_, ToBytes(typed_), NodeIndexOf(tree_->currentItem()),
                    adding ? SearchFrom::TheNode : SearchFrom::AfterTheNode));
    return true;
}

void TypeAheadFind::Show(std::size_t index)
{
    QTreeWidgetItem *item = ItemOfNode(tree_, index);
    if (!item)
        return;
    QTreeWidgetItem *folder = item->parent();
    QTreeWidgetItem *left = openedFolder_ != folder ? openedFolder_ : nullptr;
    if (openedFolder_ != folder)
        openedFolder_ = folder->isExpanded() ? nullptr : folder;
    folder->setExpanded(true);
    tree_->setCurrentItem(item);
    if (left)
        left->setExpanded(false);
    tree_->scrollToItem(item);
}

} // namespace cvarden
