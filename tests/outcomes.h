// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QtTest>

#include "outcome.h"

// Tests compare an outcome with the kind of failure they expect, so that a
// message may be reworded freely; a mismatch shows the kind and the message.
namespace cvarden {

inline bool operator==(const Outcome &outcome, Failure failure)
{
    return outcome.failure() == failure;
}

inline const char *nameOf(Failure failure)
{
    switch (failure) {
    case Failure::None: return "None";
    case Failure::Missing: return "Missing";
    case Failure::NotAFile: return "NotAFile";
    case Failure::TooLarge: return "TooLarge";
    case Failure::Empty: return "Empty";
    case Failure::CannotRead: return "CannotRead";
    case Failure::ReadOnly: return "ReadOnly";
    case Failure::NotYours: return "NotYours";
    case Failure::CannotWrite: return "CannotWrite";
    case Failure::InUse: return "InUse";
    case Failure::TooLongForGame: return "TooLongForGame";
    case Failure::IgnoredByGame: return "IgnoredByGame";
    case Failure::CutLineInTheWay: return "CutLineInTheWay";
    case Failure::NotInPlace: return "NotInPlace";
    case Failure::StoreUnreadable: return "StoreUnreadable";
    case Failure::StoreUnwritable: return "StoreUnwritable";
    case Failure::NoSuchVersion: return "NoSuchVersion";
    case Failure::Unsafe: return "Unsafe";
    case Failure::Malformed: return "Malformed";
    case Failure::NoSuchEngine: return "NoSuchEngine";
    }
    return "?";
}

inline char *toString(Failure failure)
{
    return qstrdup(nameOf(failure));
}

inline char *toString(const Outcome &outcome)
{
    return qstrdup((std::string(nameOf(outcome.failure())) + ": " + outcome.message()).c_str());
}

} // namespace cvarden
