// SPDX-License-Identifier: GPL-2.0-or-later
#include "loader.h"

#include <algorithm>
#include <filesystem>
#include <unordered_map>

#include "fileio.h"
#include "fileproblems.h"
#include "linemodel.h"
#include "nativepath.h"
#include "optionkey.h"
#include "variablename.h"

namespace cvarden {
namespace {

using fileproblems::inQuotes;

// Far above any real catalogue or choice list: past it, a file is not one.
constexpr std::uintmax_t sizeLimit = std::uintmax_t(64) << 20;

bool holdsSeparator(std::string_view line)
{
    return line.find('?') != std::string_view::npos;
}

// Choice lists are read from the catalogue's folder and the folders in it,
// never from elsewhere: a name like "../../etc/passwd" reads nothing.
bool staysInFolder(const std::string &name)
{
    const std::filesystem::path path = NativePath(name);
    if (path.has_root_path())
        return false;
    const std::filesystem::path normal = path.lexically_normal();
    return normal.empty() || *normal.begin() != "..";
}

// The option key: its fields joined by "?", built in one allocation.
std::string joinKey(std::initializer_list<std::string_view> fields)
{
    std::size_t length = fields.size();
    for (const std::string_view field : fields)
        length += field.size();
    std::string key;
    key.reserve(length);
    for (const std::string_view field : fields) {
        key.append(field);
        key.push_back('?');
    }
    key.pop_back();
    return key;
}

// Reads the entries of a catalogue. Each line role keeps the text it read
// last: when the file ends inside an entry, the missing lines keep the values
// of the entry before, and the entry is still added.
class EntryReader {
public:
    EntryReader(std::string_view text, std::filesystem::path folder, Catalogue &catalogue, Checks checks)
        : lines_(text), folder_(std::move(folder)), tree_(catalogue.tree), descriptions_(catalogue.descriptions),
          findings_(catalogue.findings), thorough_(checks == Checks::Thorough)
    {
    }

    void readFolders()
    {
        std::string_view line;
        while (lines_.readLine(line) && line != "---") {
            // A blank line names no folder: a nameless folder would only
            // collect entries whose parent line was left blank by mistake.
            if (line.empty())
                note(lines_.linesRead(), "a blank line in the folder list names no folder");
            else if (!tree_.add(nullptr, std::string(line), std::string(line)))
                note(lines_.linesRead(), "the folder " + inQuotes(line) + " is listed twice");
        }
        if (line != "---")
            note(lines_.linesRead(), "no \"---\" line ends the folder list");
    }

    // Entries follow one another to the end of the file. (A catalogue that
    // ends with its folder list has no entry to attempt: one would read no
    // line and add nothing.)
    void readEntries()
    {
        if (lines_.atEnd())
            note(lines_.linesRead(), "no option entry follows the folder list");
        std::size_t ordinal = 0;
        while (!lines_.atEnd())
            readEntry(++ordinal);
    }

private:
    // Reads the next line into the role; at the end of the file the role keeps
    // its earlier text.
    void read(std::string &role)
    {
        std::string_view line;
        if (lines_.readLine(line))
            role.assign(line);
        else
            endedInside_ = true;
    }

    // A line that goes into the option key, where "?" separates the fields.
    void readKeyLine(std::string &role)
    {
        read(role);
        if (holdsSeparator(role))
            note(lines_.linesRead(), "a \"?\" in " + inQuotes(role) + " would shift the option's fields");
    }

    void readEntry(std::size_t ordinal)
    {
        const std::size_t firstLine = lines_.linesRead() + 1;
        endedInside_ = false;
        read(parent_);
        read(displayName_);
        read(description_);
        descriptions_.set(ordinal, description_);
        readKeyLine(variable_);
        if (thorough_)
            checkVariableName();
        readKeyLine(reserved_);
        readKeyLine(kind_);
        const std::string tail = readKindTail(firstLine);
        // An unknown kind or choice source leaves the tail empty: the key then
        // ends in "?", so the option's default is empty.
        std::string key = joinKey({variable_, reserved_, kind_, std::to_string(ordinal), tail});
        if (kind_ == "COMBO" && !tail.empty())
            checkDefaultIsAChoice();
        if (endedInside_)
            note(firstLine, "the file ends inside this entry");
        if (thorough_)
            checkDisplayNameIsNew(firstLine);
        // Only a folder takes options: a parent line that happens to equal an
        // option's key must not hang an option under another.
        if (!namesAFolder(parent_) || !tree_.add(&parent_, std::move(key), displayName_))
            note(firstLine, "this entry adds no option: " + inQuotes(parent_) + " is not a folder");
    }

    // The lines that follow the kind line, as the key's tail.
    std::string readKindTail(std::size_t firstLine)
    {
        if (kind_ == "VALUE") {
            readKeyLine(defaultValue_);
            return defaultValue_;
        }
        if (kind_ == "CHECK") {
            readKeyLine(tailReserved_);
            readKeyLine(defaultValue_);
            if (defaultValue_ != "0" && defaultValue_ != "1")
                note(lines_.linesRead(), "the on/off default " + inQuotes(defaultValue_) + " is not 0 or 1");
            return tailReserved_ + "?" + defaultValue_;
        }
        if (kind_ == "COMBO")
            return readChoiceTail();
        note(firstLine + 5, "the kind " + inQuotes(kind_) + " is not VALUE, CHECK or COMBO");
        return {};
    }

    void note(std::size_t line, std::string text) { findings_.push_back({line, std::move(text)}); }

    // The game must read the name as the one word it is, or the line the
    // export writes for it would run something else.
    void checkVariableName()
    {
        if (const std::string why = WhyNotOneWord(variable_); !why.empty())
            note(lines_.linesRead(),
                 "the variable name " + ShownVariableName(variable_) + " is not one word to the game: " + why);
    }

    bool namesAFolder(const std::string &name) const
    {
        const std::size_t index = tree_.indexOf(name);
        return index != OptionTree::noParent && !tree_.item(index).hasParent();
    }

    void checkDisplayNameIsNew(std::size_t firstLine)
    {
        const auto [earlier, isNew] = displayNameLines_.emplace(displayName_, firstLine + 1);
        if (!isNew && namesAFolder(parent_))
            note(firstLine + 1, "the display name " + inQuotes(displayName_) + " is used before, at line " +
                                    std::to_string(earlier->second) + ": the two share one value");
    }

    void checkDefaultIsAChoice()
    {
        if (std::find(choicesRead_.begin(), choicesRead_.end(), defaultValue_) == choicesRead_.end())
            note(lines_.linesRead(), "the default " + inQuotes(defaultValue_) + " is not one of the choices");
    }

    std::string readChoiceTail()
    {
        choicesRead_.clear();
        readKeyLine(choiceSource_);
        std::string tail;
        if (choiceSource_ == "ENTRIES") {
            tail = readListedChoices();
        } else if (choiceSource_ == "FILE") {
            read(choiceFile_);
            tail = readChoiceFile();
        } else {
            note(lines_.linesRead(), "the choice source " + inQuotes(choiceSource_) + " is not ENTRIES or FILE");
            return {};
        }
        readKeyLine(tailReserved_);
        readKeyLine(defaultValue_);
        return tail + tailReserved_ + "?" + defaultValue_;
    }

    // The count line, then that many choice lines. A count that is not a whole
    // decimal number reads none. The lines are read only as far as the file
    // goes, whatever the count promises, and the key then counts what was read.
    std::string readListedChoices()
    {
        readKeyLine(count_);
        const unsigned long long wanted = Module1::WholeNumber(count_);
        if (thorough_ && wanted == 0 && count_ != "0")
            note(lines_.linesRead(), "the choice count " + inQuotes(count_) + " is not a whole number");
        std::string choices;
        unsigned long long got = 0;
        std::string_view line;
        while (got < wanted && lines_.readLine(line)) {
            if (holdsSeparator(line))
                note(lines_.linesRead(), "a \"?\" in the choice " + inQuotes(line) + " would shift the fields");
            choices.append(line);
            choices.push_back('?');
            choicesRead_.emplace_back(line);
            ++got;
        }
        if (got < wanted)
            endedInside_ = true;
        return (got == wanted ? count_ : std::to_string(got)) + "?" + choices;
    }

    // A choice-list file is a plain list: its lines, counted, become the
    // choices. A missing or empty file gives none.
    std::string readChoiceFile()
    {
        if (!staysInFolder(choiceFile_)) {
            note(lines_.linesRead(), "the choice list " + inQuotes(choiceFile_) +
                                         " lies outside the catalogue's folder, so it is not read");
            return "0?";
        }
        const std::string file = CorePath(folder_ / NativePath(choiceFile_));
        std::string bytes;
        if (Outcome read = ReadWholeFile(file, bytes, sizeLimit); read.failed()) {
            note(lines_.linesRead(), read.message());
            return "0?";
        }
        if (bytes.empty())
            note(lines_.linesRead(), "the choice list " + inQuotes(file) + " is empty");
        std::string choices;
        std::size_t count = 0;
        LineReader reader(bytes);
        for (std::string_view line; reader.readLine(line); ++count) {
            if (holdsSeparator(line))
                note(lines_.linesRead(),
                     "a \"?\" in the choice " + inQuotes(line) + " of " + inQuotes(file) + " would shift the fields");
            choices.append(line);
            choices.push_back('?');
            choicesRead_.emplace_back(line);
        }
        return std::to_string(count) + "?" + choices;
    }

    LineReader lines_;
    std::filesystem::path folder_;
    OptionTree &tree_;
    DescriptionTable &descriptions_;
    std::vector<CatalogueFinding> &findings_;
    bool thorough_;
    bool endedInside_ = false;
    std::string parent_, displayName_, description_, variable_, reserved_, kind_;
    std::string choiceSource_, count_, choiceFile_, tailReserved_, defaultValue_;
    std::vector<std::string> choicesRead_; // the entry's choices, as its lines gave them
    std::unordered_map<std::string, std::size_t> displayNameLines_;
};

} // namespace

Outcome OpenOptions(const std::string &path, Catalogue &catalogue, Checks checks)
{
    std::string bytes;
    if (Outcome read = ReadWholeFile(path, bytes, sizeLimit); read.failed())
        return read;
    EntryReader reader(bytes, NativePath(path).parent_path(), catalogue, checks);
    reader.readFolders();
    reader.readEntries();
    return {};
}

} // namespace cvarden
