// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>

class QTreeWidget;
class QTreeWidgetItem;

namespace cvarden {

// Each item of the option tree's widget keeps the index of its node in the
// option tree.
void SetNodeIndex(QTreeWidgetItem *item, std::size_t index);
std::size_t NodeIndexOf(const QTreeWidgetItem *item);

// The item of the node with this index, also inside a collapsed folder; null
// when there is none.
QTreeWidgetItem *ItemOfNode(QTreeWidget *tree, std::size_t index);

} // namespace cvarden
