// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <string_view>

namespace cvarden {

// The game's files and our catalogue are read by one line model: a line ends
// at CR, a LF right after that CR belongs to the line end, and any other LF is
// an ordinary byte inside the line. Bytes are never transcoded.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    // Reads the next line into `line` (a view into the text, so long lines
    // cost nothing to hand out). Returns false, leaving `line` as it was,
    // when no byte is left: reading past the end is an error to the caller.
    bool readLine(std::string_view &line);

    bool atEnd() const { return pos_ >= text_.size(); }

    // How many lines were read so far: the number of the line read last.
    std::size_t linesRead() const { return linesRead_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t linesRead_ = 0;
};

} // namespace cvarden
