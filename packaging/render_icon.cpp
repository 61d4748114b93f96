// zr-render-icon SVG PNG SIZE: renders the program's scalable icon as a
// square PNG of SIZE pixels for the icon theme's fixed-size folders.
// Exit codes: 0 written, 1 failed, 2 usage.

#include <cstdio>
#include <cstdlib>

#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: zr-render-icon SVG PNG SIZE\n");
        return 2;
    }
    const int size = std::atoi(argv[3]);
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "zr-render-icon: size %s is not between 16 and 1024\n", argv[3]);
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "zr-render-icon: %s is not a readable SVG picture\n", argv[1]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
    }
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "zr-render-icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
