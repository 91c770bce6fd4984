#include "setup_tool/core/text_pages.h"

#include "common/file_helpers.h"
#include "common/format.h"
#include "common/utf8_path.h"

namespace setup {

namespace {
constexpr const char* kSetupExtension = ".set";
constexpr const char* kTextExtension = ".txt";

// The path with the extension of its file name (from the name's last ".") exchanged for
// the given one; a name without "." gets it appended. Folders and the rest of the name
// stay as they are: a.setup.txt and a.setup.set are namesakes, and so are the files in a
// folder named x.settings.
std::filesystem::path WithExtension(const std::filesystem::path& path, const char* extension) {
    const std::string name = common::Utf8FromPath(path.filename());
    const std::size_t dot = name.rfind('.');
    return path.parent_path() / common::PathFromUtf8(name.substr(0, dot) + extension);
}
}  // namespace

std::filesystem::path TextFilePathFor(const std::filesystem::path& setupPath) {
    // The file is looked up ignoring case (FindTextFile), so Anlage.SET finds anlage.txt
    // also on a case-sensitive file system.
    return WithExtension(setupPath, kTextExtension);
}

std::optional<std::filesystem::path> FindTextFile(const std::filesystem::path& setupPath) {
    return common::FindFileIgnoringCase(TextFilePathFor(setupPath));
}

std::filesystem::path SetupPathForTextFile(const std::filesystem::path& textPath) {
    return WithExtension(textPath, kSetupExtension);
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
