#include "visitors.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace makeassets {

namespace {

constexpr Rgb White{255, 255, 255};
constexpr Rgb Black{0, 0, 0};

// The mask is white on the figure, the sprite carries its colours: the program
// lays them over the view with (view OR mask) AND sprite.
FramePair framePair(int visitor, int frameNo, const Figure& f, int left, int top)
{
    FramePair p;
    p.key = QStringLiteral("%1%2")
                .arg(visitor, 2, 10, QLatin1Char('0'))
                .arg(frameNo, 2, 10, QLatin1Char('0'));
    p.mask = filled(FrameWidth, FrameHeight, Black);
    p.sprite = filled(FrameWidth, FrameHeight, White);
    for (const Figure::Dot& d : f.dots) {
        put(p.mask, left + d.x, top + d.y, White);
        put(p.sprite, left + d.x, top + d.y, d.colour);
    }
    return p;
}

// A gull gliding far away, drawn as a one-pixel stroke: the far wing low and
// arched, the near wing raised, the body hanging under the joint.
constexpr const char* BirdRows[] = {
    "..............####...", //
    "............##....##.", //
    "...........#........#", //
    "..........#.........#", //
    "..###.....#..........", //
    ".#...##..#...........", //
    "#......#.#...........", //
    "#.......##...........", //
    "........#............", //
    ".......#.............", //
};

struct Puff {
    double cx;
    double cy;
    double r;
};

// Round heaps on a flat base; later puffs lie in front of earlier ones.
constexpr Puff CloudPuffs[] = {
    {18.0, 9.0, 6.88}, {29.0, 8.5, 8.5}, {9.0, 12.5, 5.59}, {38.5, 11.0, 6.02}, {43.5, 14.0, 4.73},
};
constexpr int CloudWidth = 50;
constexpr int CloudHeight = 20;
constexpr int CloudBase = 14;
constexpr double CloudBaseCorner = 5.5;

// The front-most puff holding the pixel, -1 on the base alone, -2 outside.
int cloudPart(int x, int y)
{
    if (x < 0 || y < 0 || x >= CloudWidth || y >= CloudHeight)
        return -2;
    const double px = x + 0.5;
    const double py = y + 0.5;
    int part = -2;
    for (int i = 0; i < int(std::size(CloudPuffs)); ++i) {
        const Puff& p = CloudPuffs[i];
        const double dx = px - p.cx;
        const double dy = py - p.cy;
        if (dx * dx + dy * dy <= p.r * p.r)
            part = i;
    }
    if (part == -2 && y >= CloudBase) {
        // The flat base: a slab with rounded corners.
        const double r = CloudBaseCorner;
        const double cx = std::clamp(px, r, CloudWidth - r);
        const double cy = std::clamp(py, CloudBase + r, CloudHeight - r);
        if ((px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r)
            part = -1;
    }
    return part;
}

} // namespace

Figure birdFigure()
{
    Figure f;
    f.height = int(std::size(BirdRows));
    f.width = int(std::char_traits<char>::length(BirdRows[0]));
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x)
            if (BirdRows[y][x] == '#')
                f.dots.push_back({x, y, {72, 4, 4}});
    return f;
}

Figure cloudFigure()
{
    Figure f;
    f.width = CloudWidth;
    f.height = CloudHeight;
    for (int y = 0; y < CloudHeight; ++y) {
        for (int x = 0; x < CloudWidth; ++x) {
            const int part = cloudPart(x, y);
            if (part == -2)
                continue;
            const double centre = 1.0 - std::abs(x + 0.5 - CloudWidth / 2.0) / (CloudWidth / 2.0);
            double t;
            if (part >= 0) {
                // Each puff is lit from above; the middle of the cloud is lightest.
                const Puff& p = CloudPuffs[part];
                const double up = 0.5 - 0.5 * (y + 0.5 - p.cy) / p.r;
                t = 0.45 * up + 0.4 * centre + 0.2 * (1.0 - y / double(CloudHeight - 1));
                // A soft crease where this puff overlaps one behind it.
                constexpr int dx[] = {1, -1, 0, 0};
                constexpr int dy[] = {0, 0, 1, -1};
                for (int i = 0; i < 4; ++i) {
                    const int other = cloudPart(x + dx[i], y + dy[i]);
                    if (other >= 0 && other < part && dy[i] >= 0)
                        t = std::min(t, 0.3);
                }
            } else {
                t = 0.25 * centre + 0.2 * (CloudHeight - 1 - y) / double(CloudHeight - CloudBase);
            }
            const int level = 226 + ditherLevel(t, 11, x, y);
            f.dots.push_back({x, y, {level, level, level}});
        }
    }
    return f;
}

std::vector<FramePair> drawVisitorFrames()
{
    std::vector<FramePair> frames;

    const Figure bird = birdFigure();
    constexpr int birdAt[][2] = {{126, 22}, {114, 18}, {98, 21}, {85, 10}, {66, 9},
                                 {54, 17},  {41, 21},  {27, 25}, {15, 26}, {-1, 18}};
    for (int i = 0; i < int(std::size(birdAt)); ++i)
        frames.push_back(framePair(1, i + 1, bird, birdAt[i][0], birdAt[i][1]));

    const Figure cloud = cloudFigure();
    constexpr int cloudAt[][2] = {{-41, 36}, {-24, 36}, {-13, 38}, {4, 38},   {11, 38},
                                  {19, 40},  {28, 41},  {35, 39},  {45, 44},  {55, 43},
                                  {62, 43},  {66, 42},  {73, 44},  {78, 44},  {86, 43},
                                  {94, 43},  {106, 45}, {120, 46}, {133, 46}, {148, 52}};
    for (int i = 0; i < int(std::size(cloudAt)); ++i)
        frames.push_back(framePair(3, i + 1, cloud, cloudAt[i][0], cloudAt[i][1]));

    // The shooting star falls down and to the left along x + y = 98: it draws
    // out its streak, then shrinks to a dot, all in one pale yellow.
    constexpr int starLength[] = {11, 31, 19, 3};
    constexpr int starLeft[] = {81, 53, 39, 34};
    for (int i = 0; i < 4; ++i) {
        Figure streak;
        streak.width = streak.height = starLength[i];
        const int n = starLength[i];
        for (int k = 0; k < n; ++k)
            streak.dots.push_back({k, n - 1 - k, {255, 255, 192}});
        const int top = 98 - starLeft[i] - (n - 1);
        frames.push_back(framePair(6, i + 1, streak, starLeft[i], top));
    }
    return frames;
}

} // namespace makeassets
