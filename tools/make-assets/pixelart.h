#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>

namespace makeassets {

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    bool operator==(const Rgb&) const = default;
};

inline QRgb toQRgb(Rgb c)
{
    return qRgb(c.r, c.g, c.b);
}

inline Rgb fromQRgb(QRgb c)
{
    return {qRed(c), qGreen(c), qBlue(c)};
}

// Linear blend, rounded half up, so the ends come out exactly a and b.
Rgb mix(Rgb a, Rgb b, double t);

// Per-channel scale and offset, clamped to 0..255.
Rgb shade(Rgb c, double mr, double mg, double mb, int ar = 0, int ag = 0, int ab = 0);

// Threshold of the 4 × 4 ordered-dither matrix at (x, y), in (0, 1).
double bayer4(int x, int y);

// Picks level floor(t * levels + threshold): t = 0 gives 0 and t = 1 gives
// levels, so gradient ends stay exact while the steps in between are dithered.
int ditherLevel(double t, int levels, int x, int y);

// Our own generator, so the pictures come out the same with any C++ library.
class XorShift32 {
public:
    explicit XorShift32(uint32_t seed) : state_(seed ? seed : 0x9e3779b9u) {}
    uint32_t next();
    int below(int n) { return static_cast<int>(next() % static_cast<uint32_t>(n)); }

private:
    uint32_t state_;
};

// An RGB888 image filled with one colour.
QImage filled(int w, int h, Rgb c);

// Sets a pixel of an RGB888 image; silently ignores points outside it.
void put(QImage& img, int x, int y, Rgb c);
Rgb at(const QImage& img, int x, int y);

// PNG bytes holding only IHDR, PLTE, IDAT and IEND: no gamma, colour profile,
// resolution or text chunks, so every reader shows the same colours.
QByteArray pngBytes(const QImage& img);
bool writeFile(const QString& path, const QByteArray& bytes);

// A Windows icon file holding one PNG image.
QByteArray icoFromPng(const QByteArray& png, int w, int h);

} // namespace makeassets
