// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include "optiontree.h"

class QKeyEvent;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace cvarden {

// Finds an option as the player types with the focus in the tree: the next
// option whose display name or variable name holds the typed text, letter
// case ignored, also inside a collapsed folder, which opens (and closes again
// when the find moves on before the player stops typing). It becomes the
// current node, as a click makes it. Typing again within a second adds to the
// text; Escape or a pause of a second starts afresh.
class TypeAheadFind : public QObject {
    Q_OBJECT

public:
    TypeAheadFind(QTreeWidget *tree, const OptionTree &options, QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool Type(const QKeyEvent *event);
    void Show(std::size_t index);

    QTreeWidget *tree_;
    const OptionTree &options_;
    QString typed_;
    // The folder this find opened last, closed again when the find moves on
    // out of it, so typing a long name leaves no trail of open folders.
    QTreeWidgetItem *openedFolder_ = nullptr;
    // Running while typed keys still add to the text.
    QTimer *pause_;
};

} // namespace cvarden
