// Renders an SVG into a square PNG, for the icon sizes the desktop's icon theme wants.
//   quillex-render-icon INPUT.svg SIZE OUTPUT.png
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    bool sizeOk = false;
    const int size = args.size() == 4 ? args[2].toInt(&sizeOk) : 0;
    if (!sizeOk || size <= 0) {
        std::fputs("usage: quillex-render-icon INPUT.svg SIZE OUTPUT.png\n", stderr);
        return 2;
    }
    QSvgRenderer renderer(args[1]);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    if (!image.save(args[3], "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args[3]));
        return 1;
    }
    return 0;
}
