#include "qt_shared/core_path.h"

#include <QByteArray>

#include "common/utf8_path.h"

namespace qtshared {

std::string ToCorePath(const QString& path) {
    const QByteArray utf8 = path.toUtf8();
    return std::string(utf8.constData(), static_cast<size_t>(utf8.size()));
}

QString FromCorePath(const std::string& path) {
    return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

std::filesystem::path ToFilesystemPath(const QString& path) {
    return common::PathFromUtf8(ToCorePath(path));
}

}  // namespace qtshared
