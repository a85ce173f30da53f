#pragma once

// The preferences in the per-user settings store through QSettings: organisation and application "Tonvale",
// group "Options", string values.

#include "prefs/preferences.h"

#include <QSettings>
#include <QString>

namespace prefs
{

class QSettingsStore : public SettingsStore
{
public:
    /// The user's own store (QSettings' native format and place for "Tonvale"/"Tonvale").
    QSettingsStore();
    /// A store in the INI file fileName (for tests and portable use).
    explicit QSettingsStore(const QString &fileName);

    /// "" when the key is absent, the store cannot be read, or the value is not a plain string.
    std::string get(const std::string &key) override;
    void set(const std::string &key, const std::string &value) override;

    /// Write pending changes to permanent storage now (QSettings does it at destruction otherwise).
    void sync();

private:
    QSettings m_settings;
};

} // namespace prefs
