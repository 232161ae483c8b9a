// Build-time tool: renders the application's SVG icon into square PNGs, one
// per requested size, named SIZE.png in the output folder, and beside each
// SIZE.argb: its premultiplied 32-bit pixels in this machine's byte order,
// which the program shows without decoding anything.
//
// Usage: render_icon SVG OUTDIR SIZE...

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: render_icon SVG OUTDIR SIZE...\n");
        return 2;
    }
    QSvgRenderer svg(args.at(1));
    if (!svg.isValid()) {
        std::fprintf(stderr, "render_icon: cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    const QDir outDir(args.at(2));
    for (const QString &sizeText : args.mid(3)) {
        const int size = sizeText.toInt();
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        svg.render(&painter);
        painter.end();
        const QString out = outDir.filePath(sizeText + QStringLiteral(".png"));
        QFile raw(outDir.filePath(sizeText + QStringLiteral(".argb")));
        const qint64 bytes = image.sizeInBytes();
        if (size <= 0 || !image.save(out, "PNG") || !raw.open(QIODevice::WriteOnly) ||
            raw.write(reinterpret_cast<const char *>(image.constBits()), bytes) != bytes) {
            std::fprintf(stderr, "render_icon: cannot write %s\n", qPrintable(out));
            return 1;
        }
    }
    return 0;
}
