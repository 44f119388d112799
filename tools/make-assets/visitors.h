#pragma once

#include "pixelart.h"

#include <QImage>
#include <QString>

#include <vector>

namespace makeassets {

constexpr int FrameWidth = 160;
constexpr int FrameHeight = 80;

// A visitor's figure: coloured pixels relative to the top-left of its box.
struct Figure {
    struct Dot {
        int x;
        int y;
        Rgb colour;
    };
    int width = 0;
    int height = 0;
    std::vector<Dot> dots;
};

struct FramePair {
    QString key; // visitor and frame number, as in "0307"
    QImage mask;
    QImage sprite;
};

Figure birdFigure();
Figure cloudFigure();

// Every frame of every visitor, in key order.
std::vector<FramePair> drawVisitorFrames();

} // namespace makeassets
