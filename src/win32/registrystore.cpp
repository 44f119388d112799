#include "win32/registrystore.h"

#include "win32/handles.h"
#include "win32/text.h"

#include <algorithm>
#include <vector>

namespace soramado::win32 {

namespace {

std::string rootName(HKEY root)
{
    if (root == HKEY_CURRENT_USER)
        return "HKEY_CURRENT_USER";
    if (root == HKEY_LOCAL_MACHINE)
        return "HKEY_LOCAL_MACHINE";
    return "(a registry key)";
}

} // namespace

std::string systemMessage(LONG code)
{
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' ||
                             text.back() == L'.'))
        text.pop_back();
    for (wchar_t& c : text) {
        if (c == L'\r' || c == L'\n')
            c = L' ';
    }
    if (text.empty())
        return "error " + std::to_string(code);
    return narrow(text) + " (error " + std::to_string(code) + ")";
}

std::wstring RegistrySettingsStore::defaultKey()
{
    return L"Software\\" + widen(StoreApplication) + L"\\" + widen(StoreSection);
}

RegistrySettingsStore::RegistrySettingsStore(HKEY root, std::wstring subKey)
    : root_(root), subKey_(std::move(subKey))
{}

std::string RegistrySettingsStore::location() const
{
    return rootName(root_) + "\\" + narrow(subKey_);
}

std::optional<std::string> RegistrySettingsStore::ReadSetting(std::string_view key)
{
    const std::wstring name = widen(key);
    // Expandable strings are text too; they are taken as written.
    const DWORD accept = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    DWORD type = 0;
    DWORD bytes = 0;
    LONG result =
        RegGetValueW(root_, subKey_.c_str(), name.c_str(), accept, &type, nullptr, &bytes);
    if (result == ERROR_FILE_NOT_FOUND)
        return std::nullopt;
    std::vector<wchar_t> buffer;
    // The value may grow between the two calls; ask again with the new size.
    while (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
        buffer.assign(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        result = RegGetValueW(root_, subKey_.c_str(), name.c_str(), accept, &type, buffer.data(),
                              &bytes);
        if (result == ERROR_SUCCESS)
            return narrow(std::wstring(buffer.data()));
    }
    if (result == ERROR_FILE_NOT_FOUND)
        return std::nullopt;
    const UnreadableValue problem{std::string(key), result};
    if (std::find(unreadable_.begin(), unreadable_.end(), problem) == unreadable_.end())
        unreadable_.push_back(problem);
    return std::nullopt;
}

std::vector<std::string> RegistrySettingsStore::readProblems() const
{
    std::vector<std::string> lines;
    for (const UnreadableValue& value : unreadable_) {
        const std::string why = value.error == ERROR_UNSUPPORTED_TYPE ? "it is not text (REG_SZ)"
                                                                      : systemMessage(value.error);
        lines.push_back("cannot read the setting \"" + value.key + "\" in " + location() + ": " +
                        why + "; using its default.");
    }
    return lines;
}

std::optional<std::string> RegistrySettingsStore::WriteSetting(std::string_view key,
                                                               std::string_view text)
{
    HKEY opened = nullptr;
    LONG result = RegCreateKeyExW(root_, subKey_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_SET_VALUE, nullptr, &opened, nullptr);
    const RegistryKey settings(opened);
    if (result == ERROR_SUCCESS) {
        const std::wstring name = widen(key);
        const std::wstring value = widen(text);
        const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
        result = RegSetValueExW(settings.get(), name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(value.c_str()), bytes);
    }
    if (result == ERROR_SUCCESS)
        return std::nullopt;
    return "cannot write \"" + std::string(key) + "\" to " + location() + ": " +
           systemMessage(result);
}

} // namespace soramado::win32
