#include "icon.h"

#include "landscape.h"
#include "pixelart.h"

#include <QMap>
#include <QVector>

#include <cstring>

namespace makeassets {

namespace {

struct Glyph {
    char ch;
    const char* rows[7];
};

// Small type for the date line, 3 × 5.
constexpr Glyph Small[] = {
    {'0', {"###", "#.#", "#.#", "#.#", "###"}}, {'1', {".#.", "##.", ".#.", ".#.", "###"}},
    {'2', {"##.", "..#", ".#.", "#..", "###"}}, {'3', {"##.", "..#", ".#.", "..#", "##."}},
    {'4', {"#.#", "#.#", "###", "..#", "..#"}}, {'5', {"###", "#..", "##.", "..#", "##."}},
    {'6', {".##", "#..", "###", "#.#", "###"}}, {'7', {"###", "..#", ".#.", ".#.", ".#."}},
    {'8', {"###", "#.#", "###", "#.#", "###"}}, {'9', {"###", "#.#", "###", "..#", "##."}},
    {'/', {"..#", "..#", ".#.", "#..", "#.."}}, {'S', {".##", "#..", ".#.", "..#", "##."}},
    {'A', {".#.", "#.#", "###", "#.#", "#.#"}}, {'T', {"###", ".#.", ".#.", ".#.", ".#."}},
};

// The big clock digits, 4 × 7 with rounded corners; the colon is one column.
constexpr Glyph Large[] = {
    {'0', {".##.", "#..#", "#..#", "#..#", "#..#", "#..#", ".##."}},
    {'1', {"..#.", ".##.", "..#.", "..#.", "..#.", "..#.", ".###"}},
    {'2', {".##.", "#..#", "...#", "..#.", ".#..", "#...", "####"}},
    {'3', {".##.", "#..#", "...#", "..#.", "...#", "#..#", ".##."}},
    {'4', {"..#.", ".##.", "#.#.", "#.#.", "####", "..#.", "..#."}},
    {'5', {"####", "#...", "###.", "...#", "...#", "#..#", ".##."}},
    {'6', {".##.", "#...", "###.", "#..#", "#..#", "#..#", ".##."}},
    {'7', {"####", "...#", "..#.", "..#.", ".#..", ".#..", ".#.."}},
    {'8', {".##.", "#..#", "#..#", ".##.", "#..#", "#..#", ".##."}},
    {'9', {".##.", "#..#", "#..#", "#..#", ".###", "...#", ".##."}},
    {':', {".", ".", "#", ".", "#", ".", "."}},
};

template <std::size_t N> const Glyph& glyph(const Glyph (&font)[N], char ch)
{
    for (const Glyph& g : font)
        if (g.ch == ch)
            return g;
    return font[0];
}

template <std::size_t N> int textWidth(const Glyph (&font)[N], const char* text)
{
    int w = 0;
    for (const char* p = text; *p; ++p)
        w += int(std::strlen(glyph(font, *p).rows[0])) + (p[1] ? 1 : 0);
    return w;
}

template <std::size_t N>
void drawText(QImage& img, const Glyph (&font)[N], const char* text, int x, int y, Rgb colour)
{
    for (const char* p = text; *p; ++p) {
        const Glyph& g = glyph(font, *p);
        const int w = int(std::strlen(g.rows[0]));
        for (int row = 0; row < 7 && g.rows[row]; ++row)
            for (int col = 0; col < w; ++col)
                if (g.rows[row][col] == '#')
                    put(img, x + col, y + row, colour);
        x += w + 1;
    }
}

} // namespace

QImage drawIcon()
{
    constexpr Rgb Pink{255, 176, 216};
    constexpr Rgb Edge{196, 112, 160};
    constexpr Rgb Ink{112, 48, 96};
    constexpr Rgb Blue{0, 0, 192};

    QImage rgb = filled(IconSize, IconSize, Pink);
    for (int i = 0; i < IconSize; ++i) {
        put(rgb, i, 0, Edge);
        put(rgb, i, IconSize - 1, Edge);
        put(rgb, 0, i, Edge);
        put(rgb, IconSize - 1, i, Edge);
    }

    // The morning view at a quarter size, each pixel the average of four by four.
    const QImage view = drawScene(2);
    constexpr int Scale = 4;
    constexpr int Left = 4;
    constexpr int Top = 2;
    for (int y = 0; y < SceneHeight / Scale; ++y) {
        for (int x = 0; x < SceneWidth / Scale; ++x) {
            int r = 0, g = 0, b = 0;
            for (int j = 0; j < Scale; ++j)
                for (int i = 0; i < Scale; ++i) {
                    const Rgb c = at(view, x * Scale + i, y * Scale + j);
                    r += c.r;
                    g += c.g;
                    b += c.b;
                }
            constexpr int n = Scale * Scale;
            put(rgb, Left + x, Top + y, {(r + n / 2) / n, (g + n / 2) / n, (b + n / 2) / n});
        }
    }

    drawText(rgb, Small, "6/29", 3, 34, Ink);
    drawText(rgb, Small, "SAT", IconSize - 3 - textWidth(Small, "SAT"), 34, Ink);
    const char* time = "6:29:19";
    drawText(rgb, Large, time, (IconSize - textWidth(Large, time)) / 2, 40, Blue);

    // Into a palette: coarsen the colours until they fit in 256 entries.
    for (int step = 1;; step *= 2) {
        auto snap = [step](int v) { return std::min(255, (v + step / 2) / step * step); };
        QMap<QRgb, int> index;
        QVector<QRgb> table;
        for (int y = 0; y < IconSize; ++y)
            for (int x = 0; x < IconSize; ++x) {
                const Rgb c = at(rgb, x, y);
                index.insert(qRgb(snap(c.r), snap(c.g), snap(c.b)), 0);
            }
        if (index.size() > 256)
            continue;
        for (auto it = index.begin(); it != index.end(); ++it) {
            it.value() = int(table.size());
            table.push_back(it.key());
        }
        QImage out(IconSize, IconSize, QImage::Format_Indexed8);
        out.setColorTable(table);
        for (int y = 0; y < IconSize; ++y)
            for (int x = 0; x < IconSize; ++x) {
                const Rgb c = at(rgb, x, y);
                out.setPixel(x, y, uint(index.value(qRgb(snap(c.r), snap(c.g), snap(c.b)))));
            }
        return out;
    }
}

} // namespace makeassets
