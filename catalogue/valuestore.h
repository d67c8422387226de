// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

#include "outcome.h"

namespace cvarden {

// Where the player's option values live, keyed by display name. The catalogue
// default is passed with every read: defaults are never stored.
class ValueStore {
public:
    virtual ~ValueStore() = default;

    // The text last saved under `name`, exactly; `fallback` when none was.
    virtual std::string Get(const std::string &name, const std::string &fallback) const = 0;

    // Stores `value` under `name`. Outside a batch it is durable when this
    // returns.
    virtual Outcome Save(const std::string &name, const std::string &value) = 0;

    // Takes in what other runs of the program saved since this store last
    // read its values: every run of a player shares one set of values.
    // Fails when the values cannot be read: a store that cannot be read is
    // not an empty one, so nothing may then be taken from it, and nothing is
    // written over it.
    virtual Outcome reload() { return {}; }

    // Cvarden's own choices (the player's engine), kept apart from the option
    // values so that no display name can stand for one. A store that keeps
    // none reads every choice as `fallback` and refuses to save one.
    virtual std::string GetChoice(const std::string &name, const std::string &fallback) const
    {
        static_cast<void>(name);
        return fallback;
    }
    virtual Outcome SaveChoice(const std::string &name, const std::string &value)
    {
        static_cast<void>(name);
        static_cast<void>(value);
        return {Failure::StoreUnwritable, "this store keeps no choices"};
    }

    // Between these, saves may be committed together once at the end, which
    // keeps commands that save hundreds of values fast.
    virtual void beginBatch() = 0;
    virtual Outcome endBatch() = 0;
};

// Opens a batch for a scope and commits it however the scope is left, so that
// the values saved before a failure stay stored.
class StoreBatch {
public:
    explicit StoreBatch(ValueStore &store) : store_(store) { store_.beginBatch(); }
    // Whoever wants the outcome asks commit() before the scope ends.
    ~StoreBatch() { static_cast<void>(commit()); }
    StoreBatch(const StoreBatch &) = delete;
    StoreBatch &operator=(const StoreBatch &) = delete;

    // Commits now and reports the outcome; later commits do nothing.
    Outcome commit()
    {
        if (done_)
            return {};
        done_ = true;
        return store_.endBatch();
    }

private:
    ValueStore &store_;
    bool done_ = false;
};

} // namespace cvarden
