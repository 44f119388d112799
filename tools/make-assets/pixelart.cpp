#include "pixelart.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace makeassets {

namespace {

int clampByte(double v)
{
    return std::clamp(static_cast<int>(std::floor(v + 0.5)), 0, 255);
}

uint32_t readBe32(const QByteArray& data, qsizetype at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(data.constData() + at);
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

void appendLe16(QByteArray& out, int v)
{
    out.append(char(v & 0xff));
    out.append(char((v >> 8) & 0xff));
}

void appendLe32(QByteArray& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xff));
}

} // namespace

Rgb mix(Rgb a, Rgb b, double t)
{
    return {clampByte(a.r + (b.r - a.r) * t), clampByte(a.g + (b.g - a.g) * t),
            clampByte(a.b + (b.b - a.b) * t)};
}

Rgb shade(Rgb c, double mr, double mg, double mb, int ar, int ag, int ab)
{
    return {clampByte(c.r * mr + ar), clampByte(c.g * mg + ag), clampByte(c.b * mb + ab)};
}

double bayer4(int x, int y)
{
    static constexpr int m[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (m[y & 3][x & 3] + 0.5) / 16.0;
}

int ditherLevel(double t, int levels, int x, int y)
{
    t = std::clamp(t, 0.0, 1.0);
    return std::min(levels, static_cast<int>(std::floor(t * levels + bayer4(x, y))));
}

uint32_t XorShift32::next()
{
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

QImage filled(int w, int h, Rgb c)
{
    QImage img(w, h, QImage::Format_RGB888);
    img.fill(toQRgb(c));
    return img;
}

void put(QImage& img, int x, int y, Rgb c)
{
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height())
        return;
    uchar* p = img.scanLine(y) + 3 * x;
    p[0] = uchar(c.r);
    p[1] = uchar(c.g);
    p[2] = uchar(c.b);
}

Rgb at(const QImage& img, int x, int y)
{
    const uchar* p = img.constScanLine(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

QByteArray pngBytes(const QImage& img)
{
    QByteArray raw;
    QBuffer buffer(&raw);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "PNG");
    buffer.close();

    QByteArray out = raw.left(8);
    qsizetype pos = 8;
    while (pos + 12 <= raw.size()) {
        const qsizetype length = readBe32(raw, pos);
        const QByteArray type = raw.mid(pos + 4, 4);
        const qsizetype chunkSize = 12 + length;
        if (type == "IHDR" || type == "PLTE" || type == "IDAT" || type == "IEND")
            out.append(raw.mid(pos, chunkSize));
        pos += chunkSize;
    }
    return out;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size();
}

QByteArray icoFromPng(const QByteArray& png, int w, int h)
{
    QByteArray out;
    appendLe16(out, 0); // reserved
    appendLe16(out, 1); // icon
    appendLe16(out, 1); // one image
    out.append(char(w >= 256 ? 0 : w));
    out.append(char(h >= 256 ? 0 : h));
    out.append(char(0)); // palette size: 0 means 256 or none
    out.append(char(0)); // reserved
    appendLe16(out, 1);  // colour planes
    appendLe16(out, 8);  // bits per pixel
    appendLe32(out, uint32_t(png.size()));
    appendLe32(out, 6 + 16); // the image follows the one directory entry
    out.append(png);
    return out;
}

} // namespace makeassets
