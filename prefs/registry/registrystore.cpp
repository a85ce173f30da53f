#include "registrystore.h"

#include <windows.h>

#include <stdexcept>

namespace prefs
{

std::wstring toWide(const std::string &text)
{
    if (text.empty()) {
        return {};
    }
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

std::string toUtf8(const std::wstring &text)
{
    if (text.empty()) {
        return {};
    }
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), size, nullptr, nullptr);
    return narrow;
}

RegistryStore::RegistryStore(std::string subKey)
    : m_subKey(toWide(subKey))
{
}

std::string RegistryStore::get(const std::string &key)
{
    const std::wstring name = toWide(key);
    // The value may change between asking its size and reading it: ask again while it grows.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD bytes = 0;
        LSTATUS status =
            RegGetValueW(HKEY_CURRENT_USER, m_subKey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes);
        if (status != ERROR_SUCCESS) {
            return {};
        }
        std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        status = RegGetValueW(HKEY_CURRENT_USER,
                              m_subKey.c_str(),
                              name.c_str(),
                              RRF_RT_REG_SZ,
                              nullptr,
                              value.data(),
                              &bytes);
        if (status == ERROR_MORE_DATA) {
            continue;
        }
        if (status != ERROR_SUCCESS) {
            return {};
        }
        value.resize(wcsnlen(value.c_str(), value.size()));
        return toUtf8(value);
    }
    return {};
}

void RegistryStore::set(const std::string &key, const std::string &value)
{
    HKEY options = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER,
                                     m_subKey.c_str(),
                                     0,
                                     nullptr,
                                     REG_OPTION_NON_VOLATILE,
                                     KEY_SET_VALUE,
                                     nullptr,
                                     &options,
                                     nullptr);
    if (status == ERROR_SUCCESS) {
        const std::wstring name = toWide(key);
        const std::wstring data = toWide(value);
        status = RegSetValueExW(options,
                                name.c_str(),
                                0,
                                REG_SZ,
                                reinterpret_cast<const BYTE *>(data.c_str()),
                                static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(options);
    }
    if (status != ERROR_SUCCESS) {
        throw std::runtime_error("Cannot save the preference \"" + key + "\" in the registry (error "
                                 + std::to_string(status) + ").");
    }
}

} // namespace prefs
