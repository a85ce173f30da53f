#pragma once

// The preferences in the per-user registry, where programs of this kind have always kept them:
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\Tonvale\Options, one string value (REG_SZ) per key.

#include "prefs/preferences.h"

#include <string>

namespace prefs
{

class RegistryStore : public SettingsStore
{
public:
    /// The key below HKEY_CURRENT_USER that holds the preferences.
    static constexpr const char *optionsKey = "Software\\VB and VBA Program Settings\\Tonvale\\Options";

    /// The store in subKey below HKEY_CURRENT_USER (UTF-8); tests pass a key of their own.
    explicit RegistryStore(std::string subKey = optionsKey);

    /// The string value called key (UTF-8); "" when the key or value is absent, or the value is not a string.
    std::string get(const std::string &key) override;
    /// Writes value as a string value called key, creating the key when needed. Throws std::runtime_error
    /// when the registry refuses.
    void set(const std::string &key, const std::string &value) override;

private:
    std::wstring m_subKey;
};

/// UTF-8 to UTF-16 and back, as Windows wants its strings (invalid input is replaced, never rejected).
std::wstring toWide(const std::string &text);
std::string toUtf8(const std::wstring &text);

} // namespace prefs
