#pragma once

#include "app/settings.h"
#include "win32/registrystore.h"

#include <string>
#include <vector>

namespace soramado::win32 {

// The text of the one message that tells, once the clock is up, which stored
// settings start-up could not use and what it took instead; empty when all
// were usable. Japanese, like the rest of the clock. `location` names the key.
std::wstring startUpReport(const std::vector<UnusableSetting>& unusable,
                           const std::vector<UnreadableValue>& unreadable,
                           const std::string& location);

// Shows the report in a message box owned by the clock window.
void showReportBox(HWND owner, const std::wstring& text);

} // namespace soramado::win32
