// Import then export of any game file against a small fixed catalogue: lines
// of no option come through unchanged, every option gets a line, and a second
// export of the result changes nothing.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "../memorystore.h"
#include "exportconfig.h"
#include "fileio.h"
#include "property.h"
#include "importconfig.h"
#include "linemodel.h"
#include "loader.h"
#include "normalize.h"
#include "optionmatcher.h"

namespace {

// Names that begin one another, share a variable, or hold odd bytes.
const char catalogueText[] =
    "F\r\nG\r\n---\r\n"
    "F\r\nA\r\nd\r\nab\r\nx\r\nVALUE\r\n1\r\n"
    "F\r\nC\r\nd\r\nabc\r\nx\r\nCHECK\r\nx\r\n0\r\n"
    "G\r\nB\r\nd\r\nab\r\nx\r\nCOMBO\r\nENTRIES\r\n2\r\np\r\nq\r\nx\r\nq\r\n"
    "G\r\nA\r\nd\r\nseta\r\nx\r\nVALUE\r\n\r\n"
    "G\r\nS\r\nd\r\nsp ace\r\nx\r\nVALUE\r\n\"\r\n";

const cvarden::OptionTree &catalogue()
{
    static const cvarden::OptionTree tree = [] {
        const std::string path = (std::filesystem::temp_directory_path() /
                                  ("cvarden-fuzz-catalogue-" + std::to_string(::getpid()) + ".dat")).string();
        cvarden::writeWholeFile(path, catalogueText);
        cvarden::OptionTree loaded;
        cvarden::DescriptionTable descriptions;
        cvarden::OpenOptions(path, loaded, descriptions);
        std::filesystem::remove(path);
        return loaded;
    }();
    return tree;
}


std::vector<std::string_view> records(std::string_view text)
{
    std::vector<std::string_view> lines;
    cvarden::LineReader reader(text);
    for (std::string_view line; reader.readLine(line);)
        lines.push_back(line);
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string normalized = cvarden::normalizeText({reinterpret_cast<const char *>(data), size});
    cvarden::OptionTree tree = catalogue();
    MemoryStore store;
    require(cvarden::ImportConfigText(normalized, tree, store).error.empty());

    cvarden::ExportReport report;
    const std::string once = cvarden::RewriteConfigText(normalized, tree, store, report);
    const cvarden::OptionMatcher matcher(tree);
    std::vector<const cvarden::VariableOptions *> matches;

    // Every line of no option reaches the result unchanged, in order.
    const std::vector<std::string_view> after = records(once);
    std::size_t next = 0;
    for (const std::string_view line : records(normalized)) {
        matcher.match(line, matches);
        if (!matches.empty())
            continue;
        while (next < after.size() && after[next] != line)
            ++next;
        require(next < after.size());
        ++next;
    }

    // Every option has a line of its own in the result.
    std::vector<bool> written(tree.count() + 1, false);
    for (const std::string_view line : after) {
        matcher.match(line, matches);
        for (const cvarden::VariableOptions *variable : matches) {
            for (const std::size_t index : variable->indices)
                written[index] = true;
        }
    }
    for (std::size_t i = 1; i <= tree.count(); ++i)
        require(!tree.item(i).hasParent() || (written[i] && tree.item(i).tag == "DONE"));

    // A second export of the result changes nothing.
    cvarden::ExportReport again;
    require(cvarden::RewriteConfigText(cvarden::normalizeText(once), tree, store, again) == once);
    require(again.linesAdded == 0);
    return 0;
}
