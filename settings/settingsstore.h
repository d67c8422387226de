#pragma once

#include <QSettings>
#include <QString>
#include <memory>

#include "valuestore.h"

namespace cvarden {

// The player's option values, kept per user in the platform's settings store
// (the registry on Windows, an INI file in the user's configuration folder
// elsewhere), application "Cvarden", section "Q3A", one text per display name.
// Texts are single bytes mapped one to one onto characters, so every byte a
// game file held comes back unchanged.
class SettingsStore : public ValueStore {
public:
    // The current user's own store.
    SettingsStore();
    // A store in the given INI file, for tests and tools that must not touch
    // the player's own.
    explicit SettingsStore(const QString &iniPath);

    std::string Get(const std::string &name, const std::string &fallback) const override;
    std::string Save(const std::string &name, const std::string &value) override;
    void Reload() override;
    // Whether anything was ever saved under `name`.
    bool Contains(const std::string &name) const;
    void beginBatch() override;
    std::string endBatch() override;

    // Where the values live, for messages that tell the player.
    QString location() const { return settings_->fileName(); }

    // The settings store takes "/" and "\" as group separators and refuses an
    // empty name, so value names are stored in an encoding that keeps every
    // name distinct and exact.
    static QString encodeName(const std::string &name);
    static std::string decodeName(const QString &key);

private:
    std::string commit();

    std::unique_ptr<QSettings> settings_;
    bool batching_ = false;
};

} // namespace cvarden
