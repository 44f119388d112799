#include "landscape.h"

#include "pixelart.h"

#include <array>
#include <cmath>
#include <vector>

namespace makeassets {

namespace {

enum class Kind { Sky, Hill, Building, Window, Tree, Trunk, Roof, Trim };

// One pixel of the landscape before it is coloured for a particular light.
struct Cell {
    Kind kind = Kind::Sky;
    int region = 0; // painting order: a shape is outlined where it meets one painted earlier
    int tone = 1;   // 0 lit, 1 plain, 2 shaded, 3 deep
    int window = -1;
    bool nearHill = false;
    bool outline = false;
};

using Map = std::array<std::array<Cell, SceneWidth>, SceneHeight>;

struct Hump {
    double cx;
    double top;
    double k;
};

// Far hills first: the later humps overlap the earlier ones.
constexpr Hump FarHumps[] = {{150, 87, 0.007}, {58, 88, 0.005}, {104, 90, 0.006}, {8, 92, 0.006}};
constexpr Hump NearHumps[] = {{125, 108, 0.004}, {30, 112, 0.005}};

struct Box {
    int x0, y0, x1, y1;
    bool contains(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

constexpr Box TallBuilding{93, 88, 119, 119};
constexpr Box RoofBox{102, LandscapeTop, 110, 87};
constexpr Box LowBuilding{37, 93, 64, 119};
// The low building's floor lines run between its rows of windows.
constexpr int LowFloorLine = 99;
constexpr Box Chimney{7, 95, 12, 104};
// Two by two on the low building, then two rows of three on the tall one.
constexpr Box Windows[] = {
    {42, 100, 49, 105},   {52, 100, 59, 105},   {42, 108, 49, 113}, {52, 108, 59, 113},
    {96, 92, 101, 98},    {103, 92, 108, 98},   {110, 92, 115, 98}, {96, 101, 101, 107},
    {103, 101, 108, 107}, {110, 101, 115, 107},
};

struct Clump {
    double cx;
    double cy;
    double r;
};

struct Tree {
    double cx;
    double cy;
    double r;
    Box trunk;
};

constexpr Tree Trees[] = {{136.0, 99.5, 10.0, {134, 104, 137, 116}},
                          {151.5, 96.5, 12.0, {150, 104, 153, 114}}};

constexpr Clump Shrubs[] = {{32.0, 111.0, 3.0}, {69.0, 113.0, 3.6}, {88.5, 112.0, 3.2}};

uint32_t hash(int x, int y, uint32_t salt)
{
    uint32_t h = uint32_t(x) * 73856093u ^ uint32_t(y) * 19349663u ^ salt * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return h;
}

int humpTop(const Hump& h, int x)
{
    return static_cast<int>(std::floor(h.top + h.k * (x - h.cx) * (x - h.cx) + 0.5));
}

// A bushy ball: its rim is a row of rounded leaf clumps.
bool insideTree(const Tree& t, int x, int y)
{
    const double dx = x + 0.5 - t.cx;
    const double dy = y + 0.5 - t.cy;
    const double r = t.r - 1.8 + 2.2 * std::abs(std::cos(3.5 * std::atan2(dy, dx) + 0.3));
    return dx * dx + dy * dy <= r * r;
}

// Inside, the leaves gather in clumps on a staggered grid, each lit on its upper left.
void nearestClump(const Tree& t, int x, int y, double& lx, double& ly)
{
    double best = 1e9;
    for (int row = -3; row <= 3; ++row)
        for (int col = -3; col <= 3; ++col) {
            const double cx = t.cx + col * 5.0 + (row % 2 ? 2.5 : 0.0);
            const double cy = t.cy + row * 4.5;
            const double dx = x + 0.5 - cx;
            const double dy = y + 0.5 - cy;
            if (dx * dx + dy * dy < best) {
                best = dx * dx + dy * dy;
                lx = dx / 3.4;
                ly = dy / 3.4;
            }
        }
}

int roofTop(int x)
{
    if (x <= 18)
        return 103;
    return 103 + static_cast<int>(std::ceil((x - 18) * 1.35));
}

Map buildMap()
{
    Map map{};
    int region = 0;

    for (const Hump& h : FarHumps) {
        ++region;
        for (int x = 0; x < SceneWidth; ++x) {
            const int top = humpTop(h, x);
            for (int y = std::max(top, 0); y < SceneHeight; ++y) {
                Cell& c = map[y][x];
                c = Cell{Kind::Hill, region};
                const int d = y - top;
                c.tone = d <= 2 ? 0 : 1 + ditherLevel((d - 5) / 12.0, 2, x, y);
                // Hedgerows following the slope mark out the fields.
                if (d == 8 + int(hash(x / 6, region, 7) % 3) && (x / 3) % 4 != 0)
                    c.tone = 3;
                else if (d > 3 && hash(x, y, 11) % 29 == 0)
                    c.tone = std::min(3, c.tone + 1);
            }
        }
    }

    auto paintBuilding = [&](const Box& b, bool tall) {
        ++region;
        for (int y = b.y0; y <= b.y1; ++y) {
            for (int x = b.x0; x <= b.x1; ++x) {
                Cell& c = map[y][x];
                c = Cell{Kind::Building, region};
                const int inX = x - b.x0;
                if (inX <= 2)
                    c.tone = 0; // the sunny side
                else if (x >= b.x1 - 3)
                    c.tone = 2;
                if (y == b.y0 + 1)
                    c.tone = 0; // cornice
                else if (y == b.y0 + 2)
                    c.tone = 2;
                else if (!tall && (y - LowFloorLine) % 8 == 0 && x > b.x0 + 1 && x < b.x1 - 1)
                    c.tone = 2; // floor line
            }
        }
    };
    paintBuilding(TallBuilding, true);
    ++region;
    for (int y = RoofBox.y0; y <= RoofBox.y1; ++y)
        for (int x = RoofBox.x0; x <= RoofBox.x1; ++x)
            map[y][x] = Cell{Kind::Building, region, x >= RoofBox.x1 - 2 ? 2 : 1};
    paintBuilding(LowBuilding, false);

    for (int i = 0; i < int(std::size(Windows)); ++i) {
        const Box& w = Windows[i];
        for (int y = w.y0; y <= w.y1 + 1; ++y) {
            for (int x = w.x0; x <= w.x1; ++x) {
                Cell& c = map[y][x];
                if (y == w.y1 + 1) {
                    c.tone = 0; // sill
                    continue;
                }
                if (x == w.x0 || x == w.x1 || y == w.y0 || y == w.y1) {
                    c.tone = 3; // frame
                    continue;
                }
                c.kind = Kind::Window;
                c.window = i;
                const int inX = x - w.x0;
                const int inY = y - w.y0;
                c.tone = (inY == 1 || inX == 1) ? 1 : 0;
                if (inX + inY == (w.x1 - w.x0) && inY >= 2)
                    c.tone = 2; // glint
            }
        }
    }

    for (const Hump& h : NearHumps) {
        ++region;
        for (int x = 0; x < SceneWidth; ++x) {
            const int top = humpTop(h, x);
            for (int y = std::max(top, 0); y < SceneHeight; ++y) {
                Cell& c = map[y][x];
                c = Cell{Kind::Hill, region};
                c.nearHill = true;
                const int d = y - top;
                c.tone = d <= 1 ? 0 : 1 + ditherLevel((d - 3) / 9.0, 2, x, y);
                if (d > 2 && hash(x, y, 23) % 13 == 0)
                    c.tone = std::max(0, c.tone - 1); // grass tufts catching the light
            }
        }
    }

    // Low shrubs at the feet of the buildings.
    for (const Clump& s : Shrubs) {
        ++region;
        for (int y = 0; y < SceneHeight; ++y)
            for (int x = 0; x < SceneWidth; ++x) {
                const double dx = (x + 0.5 - s.cx) / (s.r * 1.4);
                const double dy = (y + 0.5 - s.cy) / s.r;
                if (dx * dx + dy * dy > 1.0 || y > s.cy + 1)
                    continue;
                const double light = -(0.6 * dx + 0.8 * dy);
                map[y][x] = Cell{Kind::Tree, region, light > 0.45 ? 0 : light > -0.2 ? 1 : 2};
            }
    }

    for (const Tree& t : Trees) {
        ++region;
        for (int y = t.trunk.y0; y <= t.trunk.y1; ++y)
            for (int x = t.trunk.x0; x <= t.trunk.x1; ++x)
                if (x < SceneWidth)
                    map[y][x] = Cell{Kind::Trunk, region, x == t.trunk.x0 ? 0 : 1};
        ++region;
        for (int y = 0; y < SceneHeight; ++y) {
            for (int x = 0; x < SceneWidth; ++x) {
                if (!insideTree(t, x, y))
                    continue;
                Cell& c = map[y][x];
                c = Cell{Kind::Tree, region};
                double lx = 0, ly = 0;
                nearestClump(t, x, y, lx, ly);
                const double gx = (x + 0.5 - t.cx) / t.r;
                const double gy = (y + 0.5 - t.cy) / t.r;
                // Lit from the upper left, both per clump and across the ball.
                const double light = -(0.6 * lx + 0.8 * ly) * 0.5 - (0.6 * gx + 0.8 * gy) * 1.0;
                c.tone = light > 0.5 ? 0 : light > -0.2 ? 1 : light > -0.75 ? 2 : 3;
                // The shadowed lower edge of a clump reads as leaves overlapping.
                if (lx * lx + ly * ly > 0.8 && lx + ly > 0.5 && c.tone < 3)
                    ++c.tone;
            }
        }
    }

    ++region;
    for (int x = 0; x < SceneWidth; ++x) {
        const int top = roofTop(x);
        for (int y = top; y < SceneHeight; ++y) {
            Cell& c = map[y][x];
            c = Cell{Kind::Roof, region};
            const int row = y - 104;
            if (row == 0)
                c.tone = 0; // ridge cap
            else if (row % 3 == 2)
                c.tone = 2; // the shadow under a course of tiles
            else if (row % 3 == 1 && (x + 2 * ((row / 3) % 2)) % 4 == 0)
                c.tone = 2; // the gap between two tiles
        }
    }

    ++region;
    for (int y = Chimney.y0; y <= Chimney.y1; ++y)
        for (int x = Chimney.x0; x <= Chimney.x1; ++x)
            map[y][x] = Cell{Kind::Building, region,
                             x == Chimney.x0 + 1 ? 0 : (y == Chimney.y0 + 1 ? 2 : 1)};

    // Outlines: the edge of every shape against sky or a shape behind it.
    for (int y = 0; y < SceneHeight; ++y) {
        for (int x = 0; x < SceneWidth; ++x) {
            Cell& c = map[y][x];
            if (c.kind == Kind::Sky)
                continue;
            constexpr int dx[] = {1, -1, 0, 0};
            constexpr int dy[] = {0, 0, 1, -1};
            for (int i = 0; i < 4; ++i) {
                const int nx = x + dx[i];
                const int ny = y + dy[i];
                if (nx < 0 || ny < 0 || nx >= SceneWidth || ny >= SceneHeight)
                    continue;
                if (map[ny][nx].region < c.region)
                    c.outline = true;
            }
        }
    }

    // A light bargeboard just inside the sloping edge of the roof.
    for (int y = 0; y < SceneHeight; ++y) {
        for (int x = 19; x < SceneWidth - 1; ++x) {
            Cell& c = map[y][x];
            if (c.kind == Kind::Roof && !c.outline && map[y][x + 1].outline &&
                map[y][x + 1].kind == Kind::Roof)
                c.kind = Kind::Trim;
        }
    }
    return map;
}

const Map& landscape()
{
    static const Map map = buildMap();
    return map;
}

// Colours in full daylight; the other lights are derived from these.
Rgb daylight(const Cell& c)
{
    switch (c.kind) {
    case Kind::Hill: {
        static constexpr Rgb far[] = {
            {140, 204, 104}, {104, 182, 88}, {82, 160, 80}, {62, 132, 70}};
        static constexpr Rgb near[] = {{124, 206, 76}, {88, 184, 60}, {64, 156, 52}, {46, 126, 46}};
        return c.nearHill ? near[c.tone] : far[c.tone];
    }
    case Kind::Building: {
        static constexpr Rgb wall[] = {
            {226, 226, 230}, {196, 198, 206}, {160, 162, 176}, {120, 122, 140}};
        return wall[c.tone];
    }
    case Kind::Tree: {
        static constexpr Rgb leaf[] = {{136, 194, 70}, {92, 158, 52}, {58, 120, 44}, {36, 86, 38}};
        return leaf[c.tone];
    }
    case Kind::Trunk:
        return c.tone == 0 ? Rgb{138, 100, 64} : Rgb{104, 72, 48};
    case Kind::Roof: {
        static constexpr Rgb tile[] = {{236, 104, 80}, {206, 62, 52}, {150, 38, 40}, {120, 28, 32}};
        return tile[c.tone];
    }
    case Kind::Trim:
        return {236, 224, 200};
    default:
        return {};
    }
}

// Which windows are lit in the evening, at dusk and at night.
enum class Lamp { Off, Orange, Yellow };
constexpr Lamp EveningLamps[] = {Lamp::Orange, Lamp::Off, Lamp::Yellow, Lamp::Orange, Lamp::Yellow,
                                 Lamp::Orange, Lamp::Off, Lamp::Orange, Lamp::Off,    Lamp::Yellow};
constexpr bool DuskLamps[] = {false, false, true, false, false, true, false, false, false, true};
constexpr int NightLamps[] = {2, 6};

Rgb windowColour(int position, const Cell& c)
{
    switch (position) {
    case 1: {
        static constexpr Rgb pane[] = {{64, 92, 168}, {44, 64, 132}, {110, 136, 200}};
        return pane[c.tone];
    }
    case 2: {
        static constexpr Rgb pane[] = {{178, 210, 240}, {140, 176, 220}, {226, 240, 252}};
        return pane[c.tone];
    }
    case 3: {
        static constexpr Rgb pane[] = {{248, 252, 255}, {206, 226, 244}, {255, 255, 255}};
        return pane[c.tone];
    }
    case 4: {
        static constexpr Rgb orange[] = {{255, 168, 64}, {226, 128, 48}, {255, 208, 128}};
        static constexpr Rgb yellow[] = {{255, 228, 112}, {236, 196, 84}, {255, 244, 176}};
        static constexpr Rgb dark[] = {{40, 52, 112}, {30, 38, 88}, {84, 96, 156}};
        switch (EveningLamps[c.window]) {
        case Lamp::Orange:
            return orange[c.tone];
        case Lamp::Yellow:
            return yellow[c.tone];
        default:
            return dark[c.tone];
        }
    }
    default: {
        static constexpr Rgb lit[] = {{250, 240, 176}, {226, 212, 148}, {255, 250, 214}};
        static constexpr Rgb dark[] = {{52, 56, 108}, {40, 42, 88}, {80, 86, 140}};
        return DuskLamps[c.window] ? lit[c.tone] : dark[c.tone];
    }
    }
}

// The same place in each light: the landscape takes on the colour of the sky.
Rgb litFor(int position, Rgb c)
{
    switch (position) {
    case 1:
        return shade(c, 0.44, 0.52, 0.56, 8, 8, 30);
    case 2:
        return shade(c, 0.96, 0.9, 0.88, 16, 8, 12);
    case 4:
        return shade(c, 0.84, 0.64, 0.42, 58, 24, 4);
    case 5:
        return shade(c, 0.52, 0.46, 0.6, 16, 10, 36);
    default:
        return c;
    }
}

// The night has a palette of its own: eight colours in all, sky and stars included.
namespace night {
constexpr Rgb Sky{0, 0, 0};
constexpr Rgb Star{252, 252, 210};
constexpr Rgb Hill{18, 50, 28};
constexpr Rgb Wall{54, 56, 64};
constexpr Rgb Pane{26, 30, 76};
constexpr Rgb Lit{236, 204, 104};
constexpr Rgb Leaf{52, 62, 22};
constexpr Rgb Roof{88, 26, 26};
} // namespace night

Rgb nightColour(const Cell& c, int x, int y)
{
    switch (c.kind) {
    case Kind::Hill:
        return night::Hill;
    case Kind::Building:
    case Kind::Trim:
        return night::Wall;
    case Kind::Window:
        for (int lit : NightLamps)
            if (c.window == lit)
                return night::Lit;
        return night::Pane;
    case Kind::Tree:
        // The shaded side of the leaves sinks into the dark of the hill behind.
        if (c.tone == 3 || (c.tone == 2 && (x + y) % 2 == 0))
            return night::Hill;
        return night::Leaf;
    case Kind::Trunk:
        return night::Leaf;
    case Kind::Roof:
        return night::Roof;
    default:
        return night::Sky;
    }
}

// A diagonal gradient from `from` at the corner (fromX, 0) to `to` at the opposite
// corner of the open sky, row 82. `ease` bends it so the light gathers at the horizon.
Rgb diagonal(Rgb from, Rgb to, bool fromLeft, double wx, double ease, int x, int y)
{
    const double u = fromLeft ? x / 159.0 : (159 - x) / 159.0;
    const double v = y / double(LandscapeTop - 1);
    double t = std::clamp((wx * u + (1 - wx) * v), 0.0, 1.0);
    t = std::pow(t, ease);
    constexpr int Levels = 64;
    return mix(from, to, ditherLevel(t, Levels, x, y) / double(Levels));
}

Rgb skyAt(int position, int x, int y)
{
    switch (position) {
    case 1:
        return diagonal({0, 0, 128}, {208, 172, 182}, true, 0.4, 1.7, x, y);
    case 2:
        return diagonal({226, 100, 133}, {249, 223, 212}, true, 0.45, 1.1, x, y);
    case 3: {
        // A white glow around the sun high above the centre.
        const double dx = (x + 0.5 - 80) / 1.25;
        const double dy = y + 12;
        const double g = std::max(0.0, 1.0 - std::sqrt(dx * dx + dy * dy) / 66.0);
        return mix({184, 255, 255}, {255, 255, 255}, ditherLevel(g * g, 48, x, y) / 48.0);
    }
    case 4:
        return diagonal({246, 107, 52}, {253, 230, 220}, false, 0.4, 1.3, x, y);
    case 5:
        return diagonal({0, 0, 128}, {182, 142, 227}, false, 0.4, 1.5, x, y);
    default:
        return night::Sky;
    }
}

void paintStars(QImage& img, int position)
{
    if (position == 1) {
        // A few faint stars still out in the dark corner, two by two.
        constexpr int stars[][2] = {{9, 6}, {27, 15}, {48, 5}, {16, 31}, {70, 11}, {38, 40}};
        for (const auto& s : stars) {
            const Rgb c = mix(at(img, s[0], s[1]), {236, 230, 255}, 0.42);
            for (int i = 0; i < 4; ++i)
                put(img, s[0] + i % 2, s[1] + i / 2, c);
        }
    } else if (position == 2) {
        put(img, 7, 5, {255, 255, 192});
        put(img, 22, 12, {255, 255, 192});
    } else if (position == 6) {
        XorShift32 rng(20240629);
        std::vector<std::pair<int, int>> placed;
        int tries = 0;
        while (placed.size() < 78 && tries++ < 5000) {
            const int x = 1 + rng.below(SceneWidth - 2);
            const int y = 1 + rng.below(76);
            bool crowded = false;
            for (const auto& [px, py] : placed)
                if (std::abs(px - x) < 5 && std::abs(py - y) < 5)
                    crowded = true;
            if (crowded)
                continue;
            placed.push_back({x, y});
            put(img, x, y, night::Star);
            if (placed.size() % 9 == 0) {
                // Now and then a brighter one with a small twinkle.
                put(img, x - 1, y, night::Star);
                put(img, x + 1, y, night::Star);
                put(img, x, y - 1, night::Star);
                put(img, x, y + 1, night::Star);
            }
        }
    }
}

} // namespace

QImage drawSky(int position)
{
    QImage img(SceneWidth, SceneHeight, QImage::Format_RGB888);
    for (int y = 0; y < SceneHeight; ++y)
        for (int x = 0; x < SceneWidth; ++x)
            put(img, x, y, skyAt(position, x, y));
    paintStars(img, position);
    return img;
}

QImage drawScene(int position)
{
    QImage img = drawSky(position);
    const Map& map = landscape();
    for (int y = 0; y < SceneHeight; ++y) {
        for (int x = 0; x < SceneWidth; ++x) {
            const Cell& c = map[y][x];
            if (c.kind == Kind::Sky)
                continue;
            Rgb colour;
            if (position == 6)
                colour = nightColour(c, x, y);
            else if (c.outline)
                colour = {0, 0, 0};
            else if (c.kind == Kind::Window)
                colour = windowColour(position, c);
            else
                colour = litFor(position, daylight(c));
            put(img, x, y, colour);
        }
    }
    return img;
}

} // namespace makeassets
