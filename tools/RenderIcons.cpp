// Draws the toolbar and menu pictures from their SVG files at build time, at 16 and 32 pixels
// (for screens that scale by two), as raw RGBA bytes with premultiplied alpha, row by row: the
// program shows them without parsing SVG or decoding PNG at start-up.
// usage: tarnwick_render_icons OUTPUT_DIR FILE.svg...  -> OUTPUT_DIR/{16,32}/<name>.rgba
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv); // the pictures' letters are drawn with the system's fonts
    const QStringList args = QGuiApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR FILE.svg...\n", argv[0]);
        return 2;
    }
    const QDir out(args.at(1));
    for (const QString &file : args.mid(2)) {
        QSvgRenderer svg(file);
        if (!svg.isValid()) {
            std::fprintf(stderr, "%s: not a valid SVG picture\n", qPrintable(file));
            return 1;
        }
        for (const int size : {16, 32}) {
            // Byte order, not word order: the same file on every processor.
            QImage image(size, size, QImage::Format_RGBA8888_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            svg.render(&painter);
            painter.end();
            const QString dir = out.filePath(QString::number(size));
            const QString target = QDir(dir).filePath(QFileInfo(file).completeBaseName() + QStringLiteral(".rgba"));
            QFile out(target);
            if (!QDir().mkpath(dir) || !out.open(QIODevice::WriteOnly)
                || out.write(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes()) != image.sizeInBytes()) {
                std::fprintf(stderr, "%s: cannot be written\n", qPrintable(target));
                return 1;
            }
        }
    }
    return 0;
}
