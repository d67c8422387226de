// SPDX-License-Identifier: GPL-2.0-or-later
// Normalizing is stable, and changes nothing but line ends.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "normalize.h"

namespace {

std::string withoutLineEnds(std::string_view text)
{
    std::string kept;
    for (const char c : text) {
        if (c != '\r' && c != '\n')
            kept.push_back(c);
    }
    return kept;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const std::string once = cvarden::NormalizeText(input);
    if (cvarden::NormalizeText(once) != once)
        std::abort();
    if (withoutLineEnds(once) != withoutLineEnds(input))
        std::abort();
    return 0;
}
