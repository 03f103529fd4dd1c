// vantik-render-icon SVG OUTDIR NAME SIZE...: draws the program's icon at each size
// as OUTDIR/<size>x<size>/apps/NAME.png, the icon theme's layout. A build step of
// the package (not installed): the icon is drawn once, as SVG, and the sizes a
// desktop without an SVG renderer needs follow from it.

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() < 4) {
        std::fputs("Usage: vantik-render-icon SVG OUTDIR NAME SIZE...\n", stderr);
        return 2;
    }
    QSvgRenderer svg(args[0]);
    if (!svg.isValid()) {
        std::fprintf(stderr, "vantik-render-icon: %s is not a drawable SVG file\n", qPrintable(args[0]));
        return 1;
    }
    for (const QString& sizeText : args.mid(3)) {
        bool ok = false;
        const int size = sizeText.toInt(&ok);
        if (!ok || size < 1 || size > 1024) {
            std::fprintf(stderr, "vantik-render-icon: %s is not a size from 1 to 1024\n", qPrintable(sizeText));
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
            svg.render(&painter, QRectF(0, 0, size, size));
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args[1]).arg(size);
        const QString file = QStringLiteral("%1/%2.png").arg(folder, args[2]);
        if (!QDir().mkpath(folder) || !image.save(file, "PNG")) {
            std::fprintf(stderr, "vantik-render-icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
