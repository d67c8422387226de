#include "loader.h"

#include <algorithm>
#include <filesystem>
#include <unordered_map>

#include "fileio.h"
#include "linemodel.h"
#include "optionkey.h"
#include "variablename.h"

namespace cvarden {
namespace {

const std::string folderImage = "folder";

// Far above any real catalogue or choice list: past it, a file is not one.
constexpr std::uintmax_t sizeLimit = std::uintmax_t(64) << 20;

bool holdsSeparator(std::string_view line) { return line.find('?') != std::string_view::npos; }

// Choice lists are read from the catalogue's folder and the folders in it,
// never from elsewhere: a name like "../../etc/passwd" reads nothing.
bool staysInFolder(const std::string &name)
{
    const std::filesystem::path path(name);
    if (path.has_root_path())
        return false;
    const std::filesystem::path normal = path.lexically_normal();
    return normal.empty() || *normal.begin() != "..";
}

std::string inQuotes(std::string_view text) { return "\"" + std::string(text) + "\""; }

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

// Notes catalogue mistakes for the catalogue's author, when one asked.
class Findings {
public:
    explicit Findings(std::vector<CatalogueFinding> *list) : list_(list) {}

    void note(std::size_t line, std::string text)
    {
        if (list_)
            list_->push_back({line, std::move(text)});
    }

    bool wanted() const { return list_ != nullptr; }

private:
    std::vector<CatalogueFinding> *list_;
};

// Reads the entries of a catalogue. Each line role keeps the text it read
// last: when the file ends inside an entry, the missing lines keep the values
// of the entry before, and the entry is still added.
class EntryReader {
public:
    EntryReader(std::string_view text, std::filesystem::path folder, OptionTree &tree, DescriptionTable &descriptions,
                Findings findings)
        : lines_(text), folder_(std::move(folder)), tree_(tree), descriptions_(descriptions), findings_(findings)
    {
    }

    void readFolders()
    {
        std::string_view line;
        while (lines_.readLine(line) && line != "---") {
            // A blank line names no folder: a nameless folder would only
            // collect entries whose parent line was left blank by mistake.
            if (line.empty())
                findings_.note(lines_.linesRead(), "a blank line in the folder list names no folder");
            else if (!tree_.add(nullptr, std::string(line), std::string(line), folderImage))
                findings_.note(lines_.linesRead(), "the folder " + inQuotes(line) + " is listed twice");
        }
        if (line != "---")
            findings_.note(lines_.linesRead(), "no \"---\" line ends the folder list");
    }

    // Entries follow one another to the end of the file. (A catalogue that
    // ends with its folder list has no entry to attempt: one would read no
    // line and add nothing.)
    void readEntries()
    {
        if (lines_.atEnd())
            findings_.note(lines_.linesRead(), "no option entry follows the folder list");
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
            findings_.note(lines_.linesRead(), "a \"?\" in " + inQuotes(role) + " would shift the option's fields");
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
        checkVariableName();
        readKeyLine(reserved_);
        readKeyLine(kind_);

        std::string image = "val";
        std::string tail;
        if (kind_ == "VALUE") {
            readKeyLine(defaultValue_);
            tail = defaultValue_;
        } else if (kind_ == "CHECK") {
            image = "check";
            readKeyLine(tailReserved_);
            readKeyLine(defaultValue_);
            tail = tailReserved_ + "?" + defaultValue_;
            if (defaultValue_ != "0" && defaultValue_ != "1")
                findings_.note(lines_.linesRead(), "the on/off default " + inQuotes(defaultValue_) + " is not 0 or 1");
        } else if (kind_ == "COMBO") {
            image = "combo";
            tail = readChoiceTail();
            if (!tail.empty())
                checkDefaultIsAChoice(tail);
        } else {
            findings_.note(firstLine + 5, "the kind " + inQuotes(kind_) + " is not VALUE, CHECK or COMBO");
        }
        // An unknown kind or choice source leaves the tail empty: the key then
        // ends in "?", so the option's default is empty.
        std::string key = joinKey({variable_, reserved_, kind_, std::to_string(ordinal), tail});
        if (endedInside_)
            findings_.note(firstLine, "the file ends inside this entry");
        if (findings_.wanted())
            checkDisplayNameIsNew(firstLine);
        // Only a folder takes options: a parent line that happens to equal an
        // option's key must not hang an option under another.
        if (!namesAFolder(parent_) || !tree_.add(&parent_, std::move(key), displayName_, std::move(image)))
            findings_.note(firstLine, "this entry adds no option: " + inQuotes(parent_) + " is not a folder");
    }

    // The game must read the name as the one word it is, or the line the
    // export writes for it would run something else.
    void checkVariableName()
    {
        if (!findings_.wanted())
            return;
        if (const std::string why = WhyNotOneWord(variable_); !why.empty())
            findings_.note(lines_.linesRead(),
                           "the variable name " + inQuotes(variable_) + " is not one word to the game: " + why);
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
            findings_.note(firstLine + 1, "the display name " + inQuotes(displayName_) + " is used before, at line " +
                                              std::to_string(earlier->second) + ": the two share one value");
    }

    // `tail` is a choice tail: the count, the choices, reserved, default.
    void checkDefaultIsAChoice(const std::string &tail)
    {
        const std::vector<std::string> choices = Module1::OptionChoices("????" + tail);
        if (std::find(choices.begin(), choices.end(), defaultValue_) == choices.end())
            findings_.note(lines_.linesRead(), "the default " + inQuotes(defaultValue_) + " is not one of the choices");
    }

    std::string readChoiceTail()
    {
        readKeyLine(choiceSource_);
        std::string tail;
        if (choiceSource_ == "ENTRIES") {
            tail = readListedChoices();
        } else if (choiceSource_ == "FILE") {
            read(choiceFile_);
            tail = readChoiceFile();
        } else {
            findings_.note(lines_.linesRead(), "the choice source " + inQuotes(choiceSource_) + " is not ENTRIES or FILE");
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
        if (wanted == 0 && count_ != "0" && findings_.wanted())
            findings_.note(lines_.linesRead(), "the choice count " + inQuotes(count_) + " is not a whole number");
        std::string choices;
        unsigned long long got = 0;
        std::string_view line;
        while (got < wanted && lines_.readLine(line)) {
            if (holdsSeparator(line))
                findings_.note(lines_.linesRead(), "a \"?\" in the choice " + inQuotes(line) + " would shift the fields");
            choices.append(line);
            choices.push_back('?');
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
            findings_.note(lines_.linesRead(), "the choice list " + inQuotes(choiceFile_) +
                                                   " lies outside the catalogue's folder, so it is not read");
            return "0?";
        }
        const std::filesystem::path file = folder_ / choiceFile_;
        std::string bytes;
        if (std::string failure = ReadWholeFile(file.string(), bytes, sizeLimit); !failure.empty()) {
            findings_.note(lines_.linesRead(), failure);
            return "0?";
        }
        if (bytes.empty())
            findings_.note(lines_.linesRead(), "the choice list " + inQuotes(file.string()) + " is empty");
        std::string choices;
        std::size_t count = 0;
        LineReader reader(bytes);
        for (std::string_view line; reader.readLine(line); ++count) {
            if (holdsSeparator(line))
                findings_.note(lines_.linesRead(), "a \"?\" in the choice " + inQuotes(line) + " of " +
                                                       inQuotes(file.string()) + " would shift the fields");
            choices.append(line);
            choices.push_back('?');
        }
        return std::to_string(count) + "?" + choices;
    }

    LineReader lines_;
    std::filesystem::path folder_;
    OptionTree &tree_;
    DescriptionTable &descriptions_;
    Findings findings_;
    bool endedInside_ = false;
    std::string parent_, displayName_, description_, variable_, reserved_, kind_;
    std::string choiceSource_, count_, choiceFile_, tailReserved_, defaultValue_;
    std::unordered_map<std::string, std::size_t> displayNameLines_;
};

} // namespace

std::string OpenOptions(const std::string &path, OptionTree &tree, DescriptionTable &descriptions,
                        std::vector<CatalogueFinding> *findings)
{
    std::string bytes;
    if (std::string failure = ReadWholeFile(path, bytes, sizeLimit); !failure.empty())
        return failure;
    EntryReader reader(bytes, std::filesystem::path(path).parent_path(), tree, descriptions, Findings(findings));
    reader.readFolders();
    reader.readEntries();
    return {};
}

} // namespace cvarden
