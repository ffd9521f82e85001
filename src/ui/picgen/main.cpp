// Writes the button glyphs and the launcher icon into the given folder (the build tree's pic/).
#include "Pictures.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillet_picgen <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    for (const pics::GlyphFile &file : pics::glyphFiles()) {
        const QString path = folder.filePath(file.fileName);
        if (!pics::glyph(file.kind).save(path, "BMP")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    const QString iconPath = folder.filePath(QStringLiteral("quillet.png"));
    if (!pics::emblem(256).save(iconPath, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(iconPath));
        return 1;
    }
    return 0;
}
