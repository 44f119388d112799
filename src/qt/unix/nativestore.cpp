#include "qt/nativestore.h"

#include "platform/posix/inifilestore.h"

namespace soramado {

std::unique_ptr<SettingsStore> makeNativeSettingsStore()
{
    return std::make_unique<IniFileStore>();
}

} // namespace soramado
