#include "qt/nativestore.h"

#include "qt/qtsettingsstore.h"

namespace soramado {

std::unique_ptr<SettingsStore> makeNativeSettingsStore()
{
    return std::make_unique<QtSettingsStore>();
}

} // namespace soramado
