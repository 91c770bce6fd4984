// Writes the icons the three dialog programs show in their windows as PNG files in the
// hicolor icon theme's layout (OUT/hicolor/<size>x<size>/apps/<program>.png), so that the
// desktop menu shows the same pictures. Run on the offscreen platform at build time.
//   program_icons OUT
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <cstdio>

#include "plc_tool/qt/program_icon.h"
#include "protocol_tool/qt/program_icon.h"
#include "setup_tool/qt/program_icon.h"

namespace {

bool WritePixmap(const QPixmap& pixmap, const QString& program, const QString& out) {
    const QString folder = QString("%1/hicolor/%2x%2/apps").arg(out).arg(pixmap.width());
    const QString file = folder + "/" + program + ".png";
    if (QDir().mkpath(folder) && pixmap.save(file, "PNG")) return true;
    std::fprintf(stderr, "program_icons: cannot write %s\n", qPrintable(file));
    return false;
}

// Every size of the theme's layout the icon has a picture for. An icon with nothing as
// large as a menu's 48 pixels also gets its largest picture enlarged by whole factors, pixel
// for pixel, so the menu shows it sharp.
bool WriteIcon(const QIcon& icon, const QString& program, const QString& out) {
    QPixmap largest;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QPixmap pixmap = icon.pixmap(QSize(size, size));
        if (pixmap.size() != QSize(size, size)) continue;  // never scaled up
        if (!WritePixmap(pixmap, program, out)) return false;
        largest = pixmap;
    }
    if (largest.isNull()) {
        std::fprintf(stderr, "program_icons: no picture for %s\n", qPrintable(program));
        return false;
    }
    for (int size : {32, 48}) {
        if (size <= largest.width() || size % largest.width() != 0) continue;
        if (!WritePixmap(largest.scaled(size, size, Qt::KeepAspectRatio, Qt::FastTransformation),
                         program, out))
            return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: program_icons OUT\n", stderr);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const bool written = WriteIcon(quarnwin::ProgramIcon(), "quarnwin", out) &&
                         WriteIcon(skellig::ProgramIcon(), "skellig", out) &&
                         WriteIcon(vantor::ProgramIcon(), "vantor", out);
    return written ? 0 : 1;
}
