#include "images.h"

#include "bytetext.h"

namespace cvarden {

ImageList::ImageList(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("ImageList1"));
}

QStringList ImageList::keys()
{
    return {QStringLiteral("check"), QStringLiteral("folder"), QStringLiteral("combo"), QStringLiteral("val")};
}

QIcon ImageList::icon(const std::string &key) const
{
    const QString name = FromBytes(key);
    if (!keys().contains(name))
        return {};
    return QIcon(QStringLiteral(":/images/%1.png").arg(name));
}

QIcon ProgramIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/images/cvarden-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/images/cvarden-32.png"), QSize(32, 32));
    return icon;
}

} // namespace cvarden
