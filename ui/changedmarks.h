// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QObject>

#include "enginevalues.h"
#include "optiontree.h"
#include "valuestore.h"

class QTreeWidget;

namespace cvarden {

// Shows in bold every option of the tree whose stored value differs from its
// default (the engine's in use, else the catalogue's), and every folder that holds one, so the player sees what
// they changed.
class ChangedMarks : public QObject {
    Q_OBJECT

public:
    // `engine` is the window's, which may change between refreshes.
    ChangedMarks(QTreeWidget *tree, const OptionTree &options, const ValueStore &store, const EngineInUse &engine,
                 QObject *parent);

    // Reads the store again for every option; called whenever values may
    // have changed.
    void Refresh();

private:
    QTreeWidget *tree_;
    const OptionTree &options_;
    const ValueStore &store_;
    const EngineInUse &engine_;
};

} // namespace cvarden
