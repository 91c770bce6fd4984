// ReplacingFile on Windows. The new contents go into a hidden file beside the target
// (".NAME.~incomplete-XXXXXX"), opened without delete sharing so that no other program can
// remove it while it is written, and MoveFileExW puts it in the target's place when it is
// complete. A hidden file left by a program that was killed can be deleted, and the next
// write into that folder does so. The new file takes over the old one's attributes
// (read-only targets are refused before anything is written); its access rights are those
// the folder gives a new file.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

#include "common/replacing_file.h"
#include "common/replacing_file_names.h"

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

bool ReadAll(const fs::path& path, std::string& bytes) {
    bytes.clear();
    HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    char chunk[65536];
    bool good = true;
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(handle, chunk, sizeof chunk, &got, nullptr)) {
            good = false;
            break;
        }
        if (got == 0) break;
        bytes.append(chunk, got);
    }
    ::CloseHandle(handle);
    return good;
}

// Hidden temporary files whose writer has gone: they can be deleted. One still being
// written is open without delete sharing, so DeleteFileW leaves it.
void RemoveAbandonedFiles(const fs::path& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path path = it->path();
        if (replacing::IsIncompletePath(path)) ::DeleteFileW(path.c_str());
    }
}

HANDLE CreateHidden(const fs::path& target, fs::path& name) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = replacing::IncompleteNameFor(target);
        HANDLE handle = ::CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (handle != INVALID_HANDLE_VALUE) return handle;
        if (::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    name.clear();
    return INVALID_HANDLE_VALUE;
}

}  // namespace

struct ReplacingFile::Impl {
    fs::path requested;
    fs::path target;
    HANDLE temp = INVALID_HANDLE_VALUE;
    fs::path tempName;
    bool existed = false;
    DWORD oldAttributes = 0;
    bool inPlace = false;
    std::string buffer;
    bool failed = false;
    bool opened = false;

    void close() {
        CloseHandleOnce(temp);
        if (!tempName.empty()) ::DeleteFileW(tempName.c_str());
        tempName.clear();
        buffer.clear();
        buffer.shrink_to_fit();
        inPlace = failed = opened = false;
    }

    bool writeInPlace(std::string_view bytes) {
        HANDLE handle = ::CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return false;
        bool good = WriteAll(handle, bytes) && ::FlushFileBuffers(handle);
        good = ::CloseHandle(handle) && good;
        return good;
    }

    bool copyInPlace() {
        std::string bytes;
        const bool read = ReadAll(tempName, bytes);
        ::DeleteFileW(tempName.c_str());
        tempName.clear();
        return read && existed && writeInPlace(bytes);
    }

    bool commitTemporary() {
        const bool flushed = ::FlushFileBuffers(temp);
        CloseHandleOnce(temp);
        if (!flushed) return false;
        // The old file's attributes (archive, hidden, system ...); a new file is a normal one.
        const DWORD attributes = existed ? oldAttributes : FILE_ATTRIBUTE_NORMAL;
        ::SetFileAttributesW(tempName.c_str(),
                             attributes ? attributes : static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
        if (!::MoveFileExW(tempName.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return copyInPlace();
        tempName.clear();
        return true;
    }
};

ReplacingFile::ReplacingFile(fs::path target) : impl_(std::make_unique<Impl>()) {
    impl_->requested = std::move(target);
    impl_->target = impl_->requested;
}

ReplacingFile::~ReplacingFile() {
    discard();
}

bool ReplacingFile::open() {
    Impl& f = *impl_;
    f.close();
    f.target = replacing::ResolveTarget(f.requested);
    const fs::path folder = f.target.parent_path();

    const DWORD attributes = ::GetFileAttributesW(f.target.c_str());
    f.existed = attributes != INVALID_FILE_ATTRIBUTES;
    bool severalLinks = false;
    if (f.existed) {
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return false;
        f.oldAttributes = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_TEMPORARY);
        // Exactly the test a plain open for writing makes, without changing the file.
        HANDLE probe = ::CreateFileW(f.target.c_str(), GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (probe == INVALID_HANDLE_VALUE) return false;
        BY_HANDLE_FILE_INFORMATION info{};
        if (::GetFileInformationByHandle(probe, &info)) severalLinks = info.nNumberOfLinks > 1;
        ::CloseHandle(probe);
    } else {
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) return false;
    }

    if (!severalLinks) {
        RemoveAbandonedFiles(folder.empty() ? fs::path(".") : folder);
        f.temp = CreateHidden(f.target, f.tempName);
    }
    if (f.temp == INVALID_HANDLE_VALUE) {
        if (!f.existed) return false;
        f.inPlace = true;
    }
    f.opened = true;
    return true;
}

bool ReplacingFile::append(std::string_view bytes) {
    Impl& f = *impl_;
    if (!f.opened || f.failed) return false;
    if (f.inPlace) {
        f.buffer.append(bytes);
    } else if (!WriteAll(f.temp, bytes)) {
        f.failed = true;
    }
    return !f.failed;
}

bool ReplacingFile::commit() {
    Impl& f = *impl_;
    if (!f.opened || f.failed) {
        f.close();
        return false;
    }
    const bool good = f.inPlace ? f.writeInPlace(f.buffer) : f.commitTemporary();
    f.close();
    return good;
}

void ReplacingFile::discard() {
    impl_->close();
}

bool ReplacingFile::replacesExisting() const {
    return impl_->existed;
}

const fs::path& ReplacingFile::resolvedTarget() const {
    return impl_->target;
}

}  // namespace common
