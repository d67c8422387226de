// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <utility>

namespace cvarden {

// Why a command on a file or on the store did not go through. Callers decide
// by the kind; the message is for the player and may be reworded freely.
enum class Failure {
    None,
    Missing,         // nothing at that path
    NotAFile,        // a folder, a named pipe, a device
    TooLarge,        // far larger than such a file should be
    Empty,           // a game file of no bytes, often one the game left cut short
    CannotRead,      // the system refused the read
    ReadOnly,        // the player made the file read-only
    NotYours,        // the system would not let this user replace it as it is
    CannotWrite,     // the write itself failed: no room, no permission in the folder
    InUse,           // another program holds the file open and shares it with no writer (Windows)
    TooLongForGame,  // a command the game would cut
    IgnoredByGame,   // a setting would be added where the game stops reading
    CutLineInTheWay, // a line the game cuts would change what the game makes of the rest
    NotInPlace,      // a setting that cannot be changed where it stands
    StoreUnreadable, // the player's values cannot be read
    StoreUnwritable, // the player's values cannot be stored
    NoSuchVersion,   // no earlier version of that number is kept
    Unsafe,          // something stands where only Cvarden's own plain file may
    Malformed,       // a file of Cvarden's own data that is not as it should be
    NoSuchEngine,    // a name that is none of the engines
};

// The outcome of a command: done, or which failure and what to tell the player.
class [[nodiscard]] Outcome {
public:
    Outcome() = default;
    Outcome(Failure failure, std::string message) : failure_(failure), message_(std::move(message)) {}

    bool ok() const { return failure_ == Failure::None; }
    bool failed() const { return !ok(); }
    Failure failure() const { return failure_; }
    const std::string &message() const { return message_; }

    // The same failure, its message led in by `context`.
    Outcome within(const std::string &context) const { return {failure_, context + message_}; }

private:
    Failure failure_ = Failure::None;
    std::string message_;
};

} // namespace cvarden
