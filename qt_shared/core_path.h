#pragma once
// File names between the dialogs and the Qt-free core: the core keeps a path in a
// std::string as UTF-8 on every platform, so a folder named "Jürgen" or in Cyrillic means
// the same file on both sides. Every path that crosses goes through these.
#include <QString>
#include <filesystem>
#include <string>

namespace qtshared {

std::string ToCorePath(const QString& path);
QString FromCorePath(const std::string& path);

// For the core's functions that take a filesystem path.
std::filesystem::path ToFilesystemPath(const QString& path);

}  // namespace qtshared
