#pragma once

// Lets nobody set the values of a registry key (made if missing), as an
// administrator's policy may: a deny entry for Everyone before an allow-all.
// Reading, making subkeys and deleting stay allowed, so a test can clean up.

#include <windows.h>

#include <string>

namespace soramado::win32::testing {

inline bool denyValueWrites(HKEY root, const std::wstring& subKey)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS | WRITE_DAC, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    bool done = AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0,
                                         &everyone) != FALSE;
    alignas(DWORD) BYTE buffer[256] = {};
    auto* acl = reinterpret_cast<ACL*>(buffer);
    SECURITY_DESCRIPTOR descriptor{};
    done = done && InitializeAcl(acl, sizeof buffer, ACL_REVISION) &&
           AddAccessDeniedAce(acl, ACL_REVISION, KEY_SET_VALUE, everyone) &&
           AddAccessAllowedAce(acl, ACL_REVISION, KEY_ALL_ACCESS, everyone) &&
           InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
           SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE) &&
           RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
    if (everyone)
        FreeSid(everyone);
    RegCloseKey(key);
    return done;
}

} // namespace soramado::win32::testing
