// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QHash>
#include <QIcon>
#include <QObject>
#include <QStringList>

namespace cvarden {

// The tree's 16 x 16 node images, addressed by the key each node's kind
// gives (OptionNode::image).
class ImageList : public QObject {
    Q_OBJECT

public:
    explicit ImageList(QObject *parent = nullptr);

    // In list order: "check", "folder", "combo", "val".
    static QStringList keys();
    // A null icon for a key the list does not hold.
    QIcon icon(const char *key) const;

private:
    // Loaded once and shared by every node that shows them.
    QHash<QString, QIcon> icons_;
};

// A white oval in a black outline with a yellow disc at its centre, at 16 x 16
// and 32 x 32: the icon of every window of the program.
QIcon ProgramIcon();

} // namespace cvarden
