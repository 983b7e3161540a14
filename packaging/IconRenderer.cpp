// Build tool: draws the application icon as a PNG of a given size, for the desktop's icon theme.
#include "assets/ArtIcons.h"

#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SIZE OUTPUT.png\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int size = QString::fromLocal8Bit(argv[1]).toInt();
    if (size < 1 || size > 1024) {
        std::fprintf(stderr, "bad size %s\n", argv[1]);
        return 2;
    }
    const QPixmap icon = applicationIcon().pixmap(QSize(size, size));
    return icon.save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
}
