#include <cstdio>

#include "qt_shared/user_text.h"

namespace qtshared {

namespace {
void Write(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}
}  // namespace

void ShowUserText(const QString&, const QString& text) {
    Write(stdout, text);
}

void ShowUsageError(const QString&, const QString& text) {
    Write(stderr, text);
}

}  // namespace qtshared
