#pragma once

#include "platform/screen.h"

namespace soramado {

// The screens as Qt sees them.
class QtScreen final : public Screen {
public:
    int twipsPerPixelX() const override;
    int twipsPerPixelY() const override;
    std::vector<PixelRect> availableAreas() const override;
};

} // namespace soramado
