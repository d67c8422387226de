// SPDX-License-Identifier: GPL-2.0-or-later
#include "images.h"

namespace cvarden {

ImageList::ImageList(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("ImageList1"));
    for (const QString &key : keys())
        icons_.insert(key, QIcon(QStringLiteral(":/images/%1.png").arg(key)));
}

QStringList ImageList::keys()
{
    return {QStringLiteral("check"), QStringLiteral("folder"), QStringLiteral("combo"), QStringLiteral("val")};
}

QIcon ImageList::icon(const char *key) const
{
    return icons_.value(QLatin1String(key));
}

QIcon ProgramIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/images/cvarden-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/images/cvarden-32.png"), QSize(32, 32));
    return icon;
}

} // namespace cvarden
