#pragma once

#include "platform/settingsstore.h"

#include <memory>

namespace soramado {

// The user's own settings store on this system: on Linux the clock's file
// store, elsewhere the toolkit's native one.
std::unique_ptr<SettingsStore> makeNativeSettingsStore();

} // namespace soramado
