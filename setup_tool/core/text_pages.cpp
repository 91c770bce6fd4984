#include "setup_tool/core/text_pages.h"

#include <cctype>

#include "common/file_helpers.h"
#include "common/format.h"

namespace setup {

namespace {
constexpr const char* kSetupExtension = ".set";
constexpr const char* kTextExtension = ".txt";

bool MatchesIgnoringCase(const std::string& text, std::size_t at, const std::string& word) {
    if (at + word.size() > text.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[at + i])) !=
            std::tolower(static_cast<unsigned char>(word[i])))
            return false;
    }
    return true;
}
}  // namespace

std::filesystem::path TextFilePathFor(const std::filesystem::path& setupPath) {
    // The text file is the setup file's namesake: every ".set" of the file name becomes
    // ".txt". Folders keep their names and letters (a folder named x.settings stays what
    // it is, else the pages of a text file the technician chose would silently not be
    // sent), and the file is looked up ignoring case, so the rule also holds on a
    // case-sensitive file system.
    const std::string name = setupPath.filename().string();
    const std::string from = kSetupExtension;
    std::string out;
    for (std::size_t i = 0; i < name.size();) {
        if (MatchesIgnoringCase(name, i, from)) {
            out += kTextExtension;
            i += from.size();
        } else {
            out += name[i++];
        }
    }
    return setupPath.parent_path() / out;
}

std::optional<std::filesystem::path> FindTextFile(const std::filesystem::path& setupPath) {
    return common::FindFileIgnoringCase(TextFilePathFor(setupPath));
}

std::filesystem::path SetupPathForTextFile(const std::string& textPath) {
    const std::size_t dot = textPath.rfind('.');
    return (dot == std::string::npos ? textPath : textPath.substr(0, dot)) + kSetupExtension;
}

std::string TextLine(const std::string& raw) {
    std::string line;
    for (char c : raw)
        if (c != '\r') line += c;
    line.resize(kTextLineWidth, ' ');
    return line;
}

std::vector<TextPageLine> TextPageLines(const std::string& contents,
                                        const DisplayVariant& variant) {
    std::vector<TextPageLine> lines;
    int page = 0;
    int line = 1;
    std::size_t start = 0;
    while (start < contents.size()) {
        if (variant.maxPages > 0 && page >= variant.maxPages) break;
        std::size_t end = contents.find('\n', start);
        if (end == std::string::npos) end = contents.size();
        lines.push_back({page, line, TextLine(contents.substr(start, end - start))});
        start = end + 1;
        if (++line > variant.linesPerPage) {
            line = 1;
            ++page;
        }
    }
    return lines;
}

std::string TkCommand(const TextPageLine& line) {
    // The text may hold any byte, a NUL included, so it is appended, not formatted.
    return common::Format("@TK%04d/%02d/", line.page, line.line) + TextLine(line.text);
}

std::string TextPageStatus(int page) {
    return common::Format("Text page: %04d", page);
}

}  // namespace setup
