// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// What the windows say about the program itself.
namespace cvarden::program {

constexpr const char *name = "Cvarden";
constexpr const char *version = CVARDEN_VERSION;
// The web page where updates are published.
constexpr const char *address = "https://cvarden.org";

} // namespace cvarden::program
