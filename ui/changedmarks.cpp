// SPDX-License-Identifier: GPL-2.0-or-later
#include "changedmarks.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "changedoptions.h"
#include "nodeitems.h"

namespace cvarden {
namespace {

void ShowBold(QTreeWidgetItem *item, bool bold)
{
    if (item->data(0, Qt::FontRole).isValid() == bold)
        return;
    // A font that sets nothing but the weight keeps the tree's own font.
    QFont boldOnly;
    boldOnly.setBold(true);
    item->setData(0, Qt::FontRole, bold ? QVariant(boldOnly) : QVariant());
}

} // namespace

ChangedMarks::ChangedMarks(QTreeWidget *tree, const OptionTree &options, const ValueStore &store,
                           const EngineInUse &engine, QObject *parent)
    : QObject(parent), tree_(tree), options_(options), store_(store), engine_(engine)
{
}

void ChangedMarks::Refresh()
{
    const std::vector<bool> changed = ChangedNodes(options_, store_, engine_);
    for (QTreeWidgetItemIterator it(tree_); *it; ++it)
        ShowBold(*it, changed.at(NodeIndexOf(*it)));
}

} // namespace cvarden
