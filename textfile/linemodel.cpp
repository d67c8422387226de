// SPDX-License-Identifier: GPL-2.0-or-later
#include "linemodel.h"

namespace cvarden {

bool LineReader::readLine(std::string_view &line)
{
    if (atEnd())
        return false;
    ++linesRead_;
    const std::size_t cr = text_.find('\r', pos_);
    if (cr == std::string_view::npos) {
        line = text_.substr(pos_);
        pos_ = text_.size();
        return true;
    }
    line = text_.substr(pos_, cr - pos_);
    pos_ = cr + 1;
    if (pos_ < text_.size() && text_[pos_] == '\n')
        ++pos_;
    return true;
}

} // namespace cvarden
