#include "loader.h"

#include <filesystem>

#include "fileio.h"
#include "linemodel.h"
#include "optionkey.h"

namespace cvarden {
namespace {

const std::string folderImage = "folder";

// The lines of a choice-list file, each closed by "?" and preceded by their
// count, as the key's choice list wants them. A missing file gives none.
std::string choiceListFromFile(const std::filesystem::path &file)
{
    std::string bytes;
    if (!readWholeFile(file.string(), bytes).empty())
        return "0?";
    std::string choices;
    std::size_t count = 0;
    LineReader reader(bytes);
    for (std::string_view line; reader.readLine(line); ++count) {
        choices.append(line);
        choices.push_back('?');
    }
    return std::to_string(count) + "?" + choices;
}

// Reads the entries of a catalogue. Each line role keeps the text it read
// last: when the file ends inside an entry, the missing lines keep the values
// of the entry before, and the entry is still added.
class EntryReader {
public:
    EntryReader(std::string_view text, std::filesystem::path folder, OptionTree &tree, DescriptionTable &descriptions)
        : lines_(text), folder_(std::move(folder)), tree_(tree), descriptions_(descriptions)
    {
    }

    void readFolders()
    {
        std::string_view line;
        while (lines_.readLine(line) && line != "---") {
            // A blank line names no folder: a nameless folder would only
            // collect entries whose parent line was left blank by mistake.
            if (!line.empty())
                tree_.add(nullptr, std::string(line), std::string(line), folderImage);
        }
    }

    void readEntries()
    {
        std::size_t ordinal = 0;
        do
            readEntry(++ordinal);
        while (!lines_.atEnd());
    }

private:
    void read(std::string &role)
    {
        std::string_view line;
        if (lines_.readLine(line))
            role.assign(line);
    }

    void readEntry(std::size_t ordinal)
    {
        read(parent_);
        read(displayName_);
        read(description_);
        descriptions_.set(ordinal, description_);
        read(variable_);
        read(reserved_);
        read(kind_);

        std::string image = "val";
        std::string tail;
        if (kind_ == "VALUE") {
            read(defaultValue_);
            tail = defaultValue_;
        } else if (kind_ == "CHECK") {
            image = "check";
            read(tailReserved_);
            read(defaultValue_);
            tail = tailReserved_ + "?" + defaultValue_;
        } else if (kind_ == "COMBO") {
            image = "combo";
            tail = readChoiceTail();
        }
        // An unknown kind or choice source leaves the tail empty: the key then
        // ends in "?", so the option's default is empty.
        std::string key = variable_ + "?" + reserved_ + "?" + kind_ + "?" + std::to_string(ordinal) + "?" + tail;
        tree_.add(&parent_, std::move(key), displayName_, std::move(image));
    }

    std::string readChoiceTail()
    {
        read(choiceSource_);
        std::string tail;
        if (choiceSource_ == "ENTRIES")
            tail = readListedChoices();
        else if (choiceSource_ == "FILE") {
            read(choiceFile_);
            tail = choiceListFromFile(folder_ / choiceFile_);
        } else
            return {};
        read(tailReserved_);
        read(defaultValue_);
        return tail + tailReserved_ + "?" + defaultValue_;
    }

    // The count line, then that many choice lines. A count that is not a whole
    // decimal number reads none. The lines are read only as far as the file
    // goes, whatever the count promises, and the key then counts what was read.
    std::string readListedChoices()
    {
        read(count_);
        const unsigned long long wanted = Module1::WholeNumber(count_);
        std::string choices;
        unsigned long long got = 0;
        std::string_view line;
        while (got < wanted && lines_.readLine(line)) {
            choices.append(line);
            choices.push_back('?');
            ++got;
        }
        return (got == wanted ? count_ : std::to_string(got)) + "?" + choices;
    }

    LineReader lines_;
    std::filesystem::path folder_;
    OptionTree &tree_;
    DescriptionTable &descriptions_;
    std::string parent_, displayName_, description_, variable_, reserved_, kind_;
    std::string choiceSource_, count_, choiceFile_, tailReserved_, defaultValue_;
};

} // namespace

std::string OpenOptions(const std::string &path, OptionTree &tree, DescriptionTable &descriptions)
{
    std::string bytes;
    if (std::string failure = readWholeFile(path, bytes); !failure.empty())
        return failure;
    EntryReader reader(bytes, std::filesystem::path(path).parent_path(), tree, descriptions);
    reader.readFolders();
    reader.readEntries();
    return {};
}

} // namespace cvarden
