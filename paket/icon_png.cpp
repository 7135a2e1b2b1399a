// Renders the program icon to PNG files of the usual sizes at build time.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "Aufruf: icon_png SVG ZIELORDNER GROESSE...\n");
        return 1;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "icon_png: %s ist kein gültiges SVG\n", argv[1]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const int groesse = QByteArray(argv[i]).toInt();
        QImage bild(groesse, groesse, QImage::Format_ARGB32_Premultiplied);
        bild.fill(Qt::transparent);
        QPainter maler(&bild);
        svg.render(&maler);
        maler.end();
        const QString ziel = QStringLiteral("%1/varolinaten-%2.png")
                                 .arg(QString::fromLocal8Bit(argv[2]))
                                 .arg(groesse);
        if (!bild.save(ziel)) {
            std::fprintf(stderr, "icon_png: %s kann nicht geschrieben werden\n", qPrintable(ziel));
            return 1;
        }
    }
    return 0;
}
