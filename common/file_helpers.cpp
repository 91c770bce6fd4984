#include "common/file_helpers.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <random>
#include <sstream>

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
    const std::string wanted = Lower(path.filename().string());
    std::vector<fs::path> matches;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (Lower(it->path().filename().string()) == wanted) matches.push_back(it->path());
    }
    if (matches.empty()) return std::nullopt;
    std::sort(matches.begin(), matches.end());
    return path.parent_path().empty() ? matches.front().filename() : matches.front();
}

struct ReplacingFile::Stream {
    std::ofstream out;
};

ReplacingFile::ReplacingFile(fs::path target) : target_(std::move(target)) {
    std::random_device random;
    temporary_ = target_;
    temporary_ += ".part" + std::to_string(random() % 100000);
}

ReplacingFile::~ReplacingFile() {
    discard();
}

bool ReplacingFile::open() {
    discard();
    stream_ = std::make_unique<Stream>();
    stream_->out.open(temporary_, std::ios::binary | std::ios::trunc);
    if (!stream_->out) {
        discard();
        return false;
    }
    return true;
}

bool ReplacingFile::append(const std::string& bytes) {
    if (!stream_) return false;
    stream_->out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(stream_->out);
}

bool ReplacingFile::commit() {
    if (!stream_) return false;
    stream_->out.flush();
    bool good = static_cast<bool>(stream_->out);
    stream_->out.close();
    good = good && !stream_->out.fail();
    stream_.reset();
    std::error_code ec;
    if (good) fs::rename(temporary_, target_, ec);
    if (!good || ec) {
        fs::remove(temporary_, ec);
        return false;
    }
    return true;
}

void ReplacingFile::discard() {
    if (!stream_) return;
    stream_->out.close();
    stream_.reset();
    std::error_code ec;
    fs::remove(temporary_, ec);
}

bool WriteFileReplacing(const fs::path& target, const std::string& bytes) {
    ReplacingFile file(target);
    return file.open() && file.append(bytes) && file.commit();
}

}  // namespace common
