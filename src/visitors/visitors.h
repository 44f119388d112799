#pragma once

#include "common/picture.h"

#include <array>
#include <cstdint>

namespace soramado {

class ViewSurface;

struct VisitorEntry {
    std::int16_t FrameCount = 0;
    std::int16_t TicksPerFrame = 0;
    std::int16_t VisitorNo = 0;
};

// Entry i belongs to phase i; entry 0 is never read.
using VisitorArray = std::array<VisitorEntry, 7>;

void InitVisitors(VisitorArray& table);

// Everything one visitor step reads and writes.
struct VisitorStep {
    int Phase = 0;
    int LastPhase = 0;
    bool& VisitorActive;
    std::int16_t& VisitorTicks;
    const VisitorArray& Table;
    ViewSurface& View;
    // The evening scene with its stars as it was when the flight began.
    Picture& Snapshot;
};

// Advances the animation by one step: cancels on a phase change, restores the
// clean background after the last frame, or lays the frame of this step over
// the clean background. The window repaints from the view afterwards.
void StepVisitor(VisitorStep step);

// The frame shown on a step, from the steps already drawn: rounded half to
// even, so the first frame lasts about half a period.
std::int16_t frameForTicks(std::int16_t visitorTicks, std::int16_t ticksPerFrame);

} // namespace soramado
