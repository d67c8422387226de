// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <map>
#include <string>

#include "valuestore.h"

// A store kept in memory, for tests of commands that only need a store to
// behave as one: it keeps Cvarden's own choices too, counts commits, and can
// be told to fail.
class MemoryStore : public cvarden::ValueStore {
public:
    std::string Get(const std::string &name, const std::string &fallback) const override
    {
        const auto found = values.find(name);
        return found == values.end() ? fallback : found->second;
    }

    cvarden::Outcome Save(const std::string &name, const std::string &value) override
    {
        if (failAfter == 0)
            return {cvarden::Failure::StoreUnwritable, "the store is full"};
        --failAfter;
        values[name] = value;
        if (!batching)
            ++commits;
        return {};
    }

    cvarden::Outcome reload() override
    {
        if (unreadable)
            return {cvarden::Failure::StoreUnreadable, "the store cannot be read"};
        return {};
    }

    std::string GetChoice(const std::string &name, const std::string &fallback) const override
    {
        const auto found = choices.find(name);
        return found == choices.end() ? fallback : found->second;
    }

    cvarden::Outcome SaveChoice(const std::string &name, const std::string &value) override
    {
        choices[name] = value;
        return {};
    }

    void beginBatch() override { batching = true; }

    cvarden::Outcome endBatch() override
    {
        batching = false;
        ++commits;
        return {};
    }

    std::map<std::string, std::string> values;
    std::map<std::string, std::string> choices; // Cvarden's own, kept apart
    int commits = 0;
    long failAfter = -1; // saves left before every save fails; negative: never
    bool unreadable = false;
    bool batching = false;
};
