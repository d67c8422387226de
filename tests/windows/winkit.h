// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <vector>

// The tests' own look at files, through the system's wide calls only, so that
// what the core wrote is found under the name it was meant to have, not
// under the same bytes read in the local code page.
namespace winkit {

std::wstring Wide(const std::string &utf8);
std::string Utf8(const std::wstring &wide);

bool MakeFolder(const std::string &path);
bool WriteFile(const std::string &path, const std::string &bytes);
// The file's bytes; `found` says whether it could be read.
std::string ReadFile(const std::string &path, bool *found = nullptr);
bool Exists(const std::string &path);
// The names in a folder, without "." and "..".
std::vector<std::string> NamesIn(const std::string &folder);
// Whether a one-step write left its new copy behind in `folder`.
bool HoldsTemporaryFile(const std::string &folder);
unsigned long AttributesOf(const std::string &path);
bool SetAttributes(const std::string &path, unsigned long attributes);
void RemoveAll(const std::string &path);

// The folder this program lies in.
std::string ProgramFolder();

} // namespace winkit
