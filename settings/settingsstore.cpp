// SPDX-License-Identifier: GPL-2.0-or-later
#include "settingsstore.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

#include "bytetext.h"
#include "nativepath.h"

namespace cvarden {
namespace {

const QString section = QStringLiteral("Q3A/");
// Cvarden's own choices, apart from the option values.
const QString choicesSection = QStringLiteral("Cvarden/");

// The escape character of value names; "~~" stands for itself.
constexpr char escape = '~';

// How long a read waits for another run's save to end. Past it, the store
// is read all the same, as no save lasts that long.
constexpr int lockPatience = 10000; // ms

// Where QSettings keeps this application's settings on this platform. Named
// here, rather than left to QSettings, so that the file can be checked before
// QSettings opens it: a FIFO in its place would block the open for ever.
QString userStoreFile()
{
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    return {};
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Cvarden/Cvarden.conf");
#endif
}

// Why the file cannot hold a store, or the empty text. A missing file is an
// empty store, as for a new player.
std::string whyNotAFile(const QString &path)
{
    std::error_code error;
    const auto type = std::filesystem::status(NativePath(PathBytes(path)), error).type();
    switch (type) {
    case std::filesystem::file_type::not_found:
    case std::filesystem::file_type::regular:
        return {};
    case std::filesystem::file_type::directory:
        return "it is a folder, not a file";
    case std::filesystem::file_type::none:
        return error.message(); // its folder cannot be searched, say
    default:
        return "it is not a regular file (a FIFO or a device stands in its place)";
    }
}

// The size and time of a file, which tell whether it has changed; empty for
// a store that is no file of ours (the system's registry). A file not there
// yet has a stamp too, so that a player with no values saved yet does not
// have it looked for under a lock at every save.
QString stampOf(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QFileInfo file(path);
    return file.exists() ? QString::number(file.size()) + "@" + QString::number(file.lastModified().toMSecsSinceEpoch())
                         : QStringLiteral("none");
}

// Why QSettings could not read the store, or the empty text.
std::string whyUnread(const QSettings &settings)
{
    switch (settings.status()) {
    case QSettings::NoError:
        return {};
    case QSettings::FormatError:
        return "it is not a valid settings file (it was damaged, or changed by hand)";
    case QSettings::AccessError:
        break;
    }
    QFile file(settings.fileName());
    return file.open(QIODevice::ReadOnly) ? "it cannot be read" : file.errorString().toStdString();
}

} // namespace

SettingsStore::SettingsStore() : iniPath_(userStoreFile())
{
    open();
}

SettingsStore::SettingsStore(const QString &iniPath) : iniPath_(iniPath)
{
    open();
}

QString SettingsStore::encodeName(const std::string &name)
{
    // A leading escape keeps the empty name non-empty.
    std::string key(1, escape);
    for (const char c : name) {
        switch (c) {
        case escape:
            key += "~~";
            break;
        case '/':
            key += "~s";
            break;
        case '\\':
            key += "~b";
            break;
        default:
            key += c;
        }
    }
    return FromBytes(key);
}

std::string SettingsStore::Get(const std::string &name, const std::string &fallback) const
{
    return getKey(section + encodeName(name), fallback);
}

Outcome SettingsStore::Save(const std::string &name, const std::string &value)
{
    return saveKey(section + encodeName(name), value);
}

std::string SettingsStore::GetChoice(const std::string &name, const std::string &fallback) const
{
    return getKey(choicesSection + encodeName(name), fallback);
}

Outcome SettingsStore::SaveChoice(const std::string &name, const std::string &value)
{
    return saveKey(choicesSection + encodeName(name), value);
}

std::string SettingsStore::getKey(const QString &key, const std::string &fallback) const
{
    if (const auto found = pending_.find(key); found != pending_.end())
        return ToBytes(found->second);
    const QVariant value = problem_.empty() ? settings_->value(key) : QVariant();
    return value.isValid() ? ToBytes(value.toString()) : fallback;
}

Outcome SettingsStore::saveKey(const QString &key, const std::string &value)
{
    if (!problem_.empty() && batching_)
        return refusal("save");
    pending_[key] = FromBytes(value);
    return batching_ ? Outcome() : commit();
}

Outcome SettingsStore::reload()
{
    // With nothing of ours waiting, the file is read afresh, and checked.
    if (!batching_)
        open();
    return problem_.empty() ? Outcome() : refusal("read");
}

void SettingsStore::beginBatch()
{
    batching_ = true;
}

Outcome SettingsStore::endBatch()
{
    batching_ = false;
    return commit();
}

QString SettingsStore::lockPath() const
{
    return iniPath_ + QStringLiteral(".lock");
}

QString SettingsStore::location() const
{
    return settings_ ? settings_->fileName() : iniPath_;
}

void SettingsStore::open()
{
    // A file unchanged since it was last read and checked is not read again
    // (QSettings would not read it again either, nor find a damage in it
    // again). Its size and time are taken before it is read, so that a change
    // made while it is read is seen the next time.
    const QString stamp = stampOf(iniPath_);
    if (settings_ && !readStamp_.isEmpty() && stamp == readStamp_)
        return;
    settings_.reset(); // it holds no change of ours, so this writes nothing
    readStamp_.clear();
    // QSettings takes a file's size and time only after reading it: a run
    // that replaced the file in between would leave it holding the old
    // content as the new file, and its next save would write over that run's
    // values. QSettings' own lock, which every save takes, keeps saves out
    // while it reads.
    // (A lock that is no file is passed by, as opening it could block.)
    QLockFile savesWait(lockPath());
    if (!iniPath_.isEmpty() && whyNotAFile(lockPath()).empty())
        static_cast<void>(savesWait.tryLock(lockPatience));
    problem_ = iniPath_.isEmpty() ? std::string() : whyNotAFile(iniPath_);
    if (!problem_.empty())
        return;
    settings_ = iniPath_.isEmpty() ? std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                                 QStringLiteral("Cvarden"), QStringLiteral("Cvarden"))
                                   : std::make_unique<QSettings>(iniPath_, QSettings::IniFormat);
    // A section is parsed when it is first used, and only then is a damaged
    // line found: every section is parsed now, before anything is used.
    settings_->allKeys();
    problem_ = whyUnread(*settings_);
    // A file that could not be read is tried again every time: its
    // permissions may be mended without changing its size or time.
    if (settings_->status() != QSettings::AccessError)
        readStamp_ = stamp;
}

Outcome SettingsStore::refusal(const char *verb) const
{
    return {Failure::StoreUnreadable,
            std::string("Cannot ") + verb + " the settings in \"" + PathBytes(location()) + "\": " + problem_ +
                ". Cvarden reads nothing from it and writes nothing over it. To start afresh, move that file "
                "away: your options then read as the catalogue's defaults, and an import takes your values over "
                "from q3config.cfg again."};
}

Outcome SettingsStore::commit()
{
    if (pending_.empty())
        return {};
    // QSettings would open it to take its turn, and wait there for ever.
    if (std::string why = iniPath_.isEmpty() ? std::string() : whyNotAFile(lockPath()); !why.empty()) {
        pending_.clear();
        return {Failure::StoreUnwritable, "Cannot save the settings in \"" + PathBytes(location()) + "\": its lock \"" +
                                              PathBytes(lockPath()) + "\" cannot be used, as " + why +
                                              ". Move it away and save again."};
    }
    // Read and checked again just before it is written: a file damaged since
    // it was last read is left as it is.
    open();
    if (!problem_.empty()) {
        pending_.clear();
        return refusal("save");
    }
    for (const auto &[key, value] : pending_)
        settings_->setValue(key, value);
    pending_.clear();
    settings_->sync();
    if (settings_->status() == QSettings::NoError) {
        // What was just written needs no reading back. (Should another run
        // write in the instant since, QSettings still finds that change
        // itself before it next writes.)
        readStamp_ = stampOf(iniPath_);
        return {};
    }
    if (settings_->status() == QSettings::FormatError) {
        problem_ = whyUnread(*settings_);
        readStamp_.clear();
        return refusal("save");
    }
    return {Failure::StoreUnwritable,
            "Cannot save the settings in \"" + PathBytes(location()) +
                "\": the file cannot be written (check its folder's permissions and free space)."};
}

} // namespace cvarden
