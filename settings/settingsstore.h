// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QSettings>
#include <QString>
#include <map>
#include <memory>

#include "valuestore.h"

namespace cvarden {

// The player's option values, kept per user in the platform's settings store
// (the registry on Windows, a property list on macOS, an INI file in the
// user's configuration folder elsewhere), application "Cvarden", section
// "Q3A", one text per display name. Texts are single bytes mapped one to one
// onto characters, so every byte a game file held comes back unchanged.
//
// The store is checked, not trusted: a file that cannot be read, or is not a
// valid settings file, is never taken for an empty store, and never written
// over. Every read of it then falls back to the defaults, reload and every
// save say why, and nothing is written until the player mends or moves it.
class SettingsStore : public ValueStore {
public:
    // The current user's own store.
    SettingsStore();
    // A store in the given INI file, for tests and tools that must not touch
    // the player's own.
    explicit SettingsStore(const QString &iniPath);

    std::string Get(const std::string &name, const std::string &fallback) const override;
    Outcome Save(const std::string &name, const std::string &value) override;
    Outcome reload() override;
    std::string GetChoice(const std::string &name, const std::string &fallback) const override;
    Outcome SaveChoice(const std::string &name, const std::string &value) override;
    void beginBatch() override;
    Outcome endBatch() override;

private:
    // The settings store takes "/" and "\" as group separators and refuses an
    // empty name, so value names are stored in an encoding that keeps every
    // name distinct and exact.
    static QString encodeName(const std::string &name);
    std::string getKey(const QString &key, const std::string &fallback) const;
    Outcome saveKey(const QString &key, const std::string &value);
    // Where the values live, for messages that tell the player.
    QString location() const;
    // The lock QSettings takes to save into the file.
    QString lockPath() const;
    void open();
    Outcome refusal(const char *verb) const;
    Outcome commit();

    QString iniPath_; // empty: the platform's own store, not a file of ours
    std::unique_ptr<QSettings> settings_;
    // Saves of a batch, written together when it ends: the store file is
    // then read and checked once more just before it is written.
    std::map<QString, QString> pending_;
    // Why the store cannot be read, when it cannot.
    std::string problem_;
    // The size and time of the store file when it was last read.
    QString readStamp_;
    bool batching_ = false;
};

} // namespace cvarden
