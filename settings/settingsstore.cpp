#include "settingsstore.h"

namespace cvarden {
namespace {

const QString section = QStringLiteral("Q3A/");

// The escape character of value names; "~~" stands for itself.
constexpr char escape = '~';

QString fromBytes(const std::string &bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string toBytes(const QString &text)
{
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

SettingsStore::SettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QStringLiteral("Cvarden"), QStringLiteral("Cvarden")))
{
}

SettingsStore::SettingsStore(const QString &iniPath)
    : settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

QString SettingsStore::encodeName(const std::string &name)
{
    // A leading escape keeps the empty name non-empty.
    std::string key(1, escape);
    for (const char c : name) {
        switch (c) {
        case escape: key += "~~"; break;
        case '/': key += "~s"; break;
        case '\\': key += "~b"; break;
        default: key += c;
        }
    }
    return fromBytes(key);
}

std::string SettingsStore::decodeName(const QString &key)
{
    const std::string bytes = toBytes(key);
    std::string name;
    for (std::size_t i = 1; i < bytes.size(); ++i) {
        if (bytes[i] != escape || i + 1 == bytes.size()) {
            name += bytes[i];
            continue;
        }
        const char code = bytes[++i];
        name += code == 's' ? '/' : code == 'b' ? '\\' : code;
    }
    return name;
}

std::string SettingsStore::Get(const std::string &name, const std::string &fallback) const
{
    const QVariant value = settings_->value(section + encodeName(name));
    return value.isValid() ? toBytes(value.toString()) : fallback;
}

bool SettingsStore::Contains(const std::string &name) const
{
    return settings_->contains(section + encodeName(name));
}

std::string SettingsStore::Save(const std::string &name, const std::string &value)
{
    settings_->setValue(section + encodeName(name), fromBytes(value));
    return batching_ ? std::string() : commit();
}

void SettingsStore::Reload()
{
    // With nothing of ours waiting, a sync only reads the file again, and
    // only when another run has changed it.
    if (!batching_)
        settings_->sync();
}

void SettingsStore::beginBatch()
{
    batching_ = true;
}

std::string SettingsStore::endBatch()
{
    batching_ = false;
    return commit();
}

std::string SettingsStore::commit()
{
    settings_->sync();
    if (settings_->status() == QSettings::NoError)
        return {};
    return "Cannot save the settings in \"" + settings_->fileName().toStdString() +
           "\": the file cannot be written (check its folder's permissions and free space).";
}

} // namespace cvarden
