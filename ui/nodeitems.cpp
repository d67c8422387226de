// SPDX-License-Identifier: GPL-2.0-or-later
#include "nodeitems.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace cvarden {
namespace {

constexpr int nodeIndexRole = Qt::UserRole;

} // namespace

void SetNodeIndex(QTreeWidgetItem *item, std::size_t index)
{
    item->setData(0, nodeIndexRole, QVariant::fromValue(index));
}

std::size_t NodeIndexOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, nodeIndexRole).value<std::size_t>() : 0;
}

QTreeWidgetItem *ItemOfNode(QTreeWidget *tree, std::size_t index)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if (NodeIndexOf(*it) == index)
            return *it;
    }
    return nullptr;
}

} // namespace cvarden
