#include "common/file_helpers.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

#include "common/utf8_path.h"

namespace common {

namespace fs = std::filesystem;

std::vector<std::string> SplitTextLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        size_t stop = end;
        if (stop > start && text[stop - 1] == '\r') --stop;
        lines.push_back(text.substr(start, stop - start));
        start = end + 1;
    }
    return lines;
}

std::optional<std::string> ReadWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream out;
    out << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return out.str();
}

namespace {
std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}
}  // namespace

std::optional<fs::path> FindFileIgnoringCase(const fs::path& path) {
    std::error_code ec;
    if (fs::exists(path, ec)) return path;
    fs::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    const std::string wanted = Lower(common::Utf8FromPath(path.filename()));
    std::vector<fs::path> matches;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (Lower(common::Utf8FromPath(it->path().filename())) == wanted)
            matches.push_back(it->path());
    }
    if (matches.empty()) return std::nullopt;
    std::sort(matches.begin(), matches.end());
    return path.parent_path().empty() ? matches.front().filename() : matches.front();
}

}  // namespace common
