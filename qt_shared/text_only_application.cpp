#include "qt_shared/text_only_application.h"

#include <QApplication>
#include <cstring>

namespace qtshared {

namespace {

bool AsksOnlyForText(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--port") == 0)
            ++i;  // a path, whatever it looks like
        else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0 ||
                 std::strcmp(argv[i], "--version") == 0)
            return true;
    }
    return false;
}

}  // namespace

std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv) {
    if (AsksOnlyForText(argc, argv)) return std::make_unique<QCoreApplication>(argc, argv);
    return std::make_unique<QApplication>(argc, argv);
}

}  // namespace qtshared
