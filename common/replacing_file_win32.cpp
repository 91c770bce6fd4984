// The files of a ReplacingFile on Windows. The new contents go into a hidden file beside the
// target (".NAME.~incomplete-XXXXXX"), opened without delete sharing so that no other program
// can remove it, and renamed through that same handle over the target when it is complete:
// from its creation until it has the target's name, no other writer's clean-up can take it.
// A hidden file left by a program that was killed can be deleted, and the next write into
// that folder does so. The new file takes over the old one's attributes (read-only targets
// are refused before anything is written); its access rights are those the folder gives a
// new file.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "common/replacing_file_names.h"
#include "common/replacing_file_platform.h"

namespace common {

namespace fs = std::filesystem;

namespace {

constexpr int kNameAttempts = 16;
constexpr DWORD kChunk = 1u << 20;

void CloseHandleOnce(HANDLE& handle) {
    if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE handle, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD wanted = bytes.size() > kChunk ? kChunk : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!::WriteFile(handle, bytes.data(), wanted, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

bool ReadAll(HANDLE handle, std::string& bytes) {
    bytes.clear();
    LARGE_INTEGER start{};
    if (!::SetFilePointerEx(handle, start, nullptr, FILE_BEGIN)) return false;
    char chunk[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(handle, chunk, sizeof chunk, &got, nullptr)) return false;
        if (got == 0) return true;
        bytes.append(chunk, got);
    }
}

// Read back for a copy in place, renamed through the handle; other programs may only read.
constexpr DWORD kTemporaryAccess = GENERIC_READ | GENERIC_WRITE | DELETE;

HANDLE CreateHidden(const fs::path& target, fs::path& name) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = replacing::IncompleteNameFor(target);
        HANDLE handle = ::CreateFileW(name.c_str(), kTemporaryAccess, FILE_SHARE_READ, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (handle != INVALID_HANDLE_VALUE) return handle;
        if (::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    name.clear();
    return INVALID_HANDLE_VALUE;
}

// The attributes a program may set on a file; the rest (compression, sparse, ...) belong to
// the file system.
constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                      FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                                      FILE_ATTRIBUTE_OFFLINE;

}  // namespace

namespace replacing {

struct TargetFile::Native {
    fs::path path;
    bool found = false;
    DWORD attributes = 0;
    bool severalLinks = false;
};

TargetFile::TargetFile() : native_(std::make_unique<Native>()) {}
TargetFile::~TargetFile() = default;

TargetFile::Found TargetFile::open(const fs::path& target) {
    Native& t = *native_;
    close();
    t.path = target;
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND ? Found::Missing : Found::Refused;
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return Found::Refused;
    // Exactly the test a plain open for writing makes, without changing the file.
    HANDLE probe = ::CreateFileW(target.c_str(), GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE) return Found::Refused;
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileInformationByHandle(probe, &info)) t.severalLinks = info.nNumberOfLinks > 1;
    ::CloseHandle(probe);
    t.found = true;
    t.attributes = attributes & kSettableAttributes;
    return Found::Writable;
}

bool TargetFile::replaceable() const {
    return !native_->severalLinks;
}

bool TargetFile::writeInPlace(std::string_view bytes) {
    HANDLE handle = ::CreateFileW(native_->path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    bool good = WriteAll(handle, bytes) && ::FlushFileBuffers(handle);
    good = ::CloseHandle(handle) && good;
    return good;
}

void TargetFile::close() {
    *native_ = Native{};
}

// Closed when it goes; deleted too unless it has become the target.
struct TemporaryFile::Native {
    HANDLE handle = INVALID_HANDLE_VALUE;
    fs::path name;  // empty once it has become the target
    ~Native() {
        CloseHandleOnce(handle);
        if (!name.empty()) ::DeleteFileW(name.c_str());
    }
};

TemporaryFile::TemporaryFile() : native_(std::make_unique<Native>()) {}
TemporaryFile::~TemporaryFile() = default;

bool TemporaryFile::create(const fs::path& target) {
    remove();
    native_->handle = CreateHidden(target, native_->name);
    return native_->handle != INVALID_HANDLE_VALUE;
}

bool TemporaryFile::append(std::string_view bytes) {
    return native_->handle != INVALID_HANDLE_VALUE && WriteAll(native_->handle, bytes);
}

bool TemporaryFile::readBack(std::string& bytes) {
    return native_->handle != INVALID_HANDLE_VALUE && ReadAll(native_->handle, bytes);
}

bool TemporaryFile::flush() {
    return native_->handle != INVALID_HANDLE_VALUE && ::FlushFileBuffers(native_->handle);
}

bool TemporaryFile::takeOverAttributes(const TargetFile& old) {
    // The old file's attributes (archive, hidden, system ...); a new file is a normal one.
    // Attributes are no access rights: where the file system keeps none, the new file is
    // still the old one's equal, so a refusal does not stop the replacement.
    FILE_BASIC_INFO basic{};  // times left as they are
    basic.FileAttributes = old.native_->found && old.native_->attributes != 0
                               ? old.native_->attributes
                               : static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL);
    ::SetFileInformationByHandle(native_->handle, FileBasicInfo, &basic, sizeof basic);
    return true;
}

bool TemporaryFile::replace(const fs::path& target) {
    Native& t = *native_;
    if (t.handle == INVALID_HANDLE_VALUE) return false;
    std::error_code ec;
    const std::wstring to = fs::absolute(target, ec).wstring();
    if (ec) return false;
    // FILE_RENAME_INFO ends in the name; the buffer holds the structure, the name and its
    // terminating zero.
    const std::size_t nameBytes = to.size() * sizeof(wchar_t);
    std::vector<std::byte> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    std::copy(to.begin(), to.end(), rename->FileName);
    rename->FileName[to.size()] = L'\0';
    if (!::SetFileInformationByHandle(t.handle, FileRenameInfo, rename,
                                      static_cast<DWORD>(buffer.size())))
        return false;
    t.name.clear();
    CloseHandleOnce(t.handle);
    return true;
}

void TemporaryFile::remove() {
    native_ = std::make_unique<Native>();
}

// A file still being written is open without delete sharing, so DeleteFileW leaves it.
void RemoveIfAbandoned(const fs::path& path) {
    ::DeleteFileW(path.c_str());
}

}  // namespace replacing
}  // namespace common
