// soramado-iconscale SOURCE FACTOR TARGET: enlarges the pixel-art icon by a
// whole factor, every pixel a block, for the icon theme's larger sizes.

#include <QImage>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: soramado-iconscale SOURCE FACTOR TARGET\n");
        return 2;
    }
    const int factor = std::atoi(argv[2]);
    const QImage source(QString::fromLocal8Bit(argv[1]));
    if (source.isNull() || factor < 1) {
        std::fprintf(stderr, "soramado-iconscale: cannot read '%s' or bad factor '%s'\n", argv[1],
                     argv[2]);
        return 1;
    }
    const QImage pixels = source.convertToFormat(QImage::Format_ARGB32);
    QImage out(pixels.width() * factor, pixels.height() * factor, QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            out.setPixel(x, y, pixels.pixel(x / factor, y / factor));
    if (!out.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "soramado-iconscale: cannot write '%s'\n", argv[3]);
        return 1;
    }
    return 0;
}
