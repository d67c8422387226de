// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QObject>

#include "optiontree.h"
#include "valuestore.h"

class QTreeWidget;

namespace cvarden {

// Shows in bold every option of the tree whose stored value differs from its
// catalogue default, and every folder that holds one, so the player sees what
// they changed.
class ChangedMarks : public QObject {
    Q_OBJECT

public:
    ChangedMarks(QTreeWidget *tree, const OptionTree &options, const ValueStore &store, QObject *parent);

    // Reads the store again for every option; called whenever values may
    // have changed.
    void Refresh();

private:
    QTreeWidget *tree_;
    const OptionTree &options_;
    const ValueStore &store_;
};

} // namespace cvarden
