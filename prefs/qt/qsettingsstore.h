#pragma once

// The preferences in the per-user settings store through QSettings: organisation and application "Tonvale",
// group "Options", string values.

#include "prefs/preferences.h"

#include <QSettings>
#include <QString>

#include <map>
#include <memory>

namespace prefs
{

class QSettingsStore : public SettingsStore
{
public:
    /// The user's own store (QSettings' native format and place for "Tonvale"/"Tonvale").
    QSettingsStore();
    /// A store in the INI file fileName (for tests and portable use).
    explicit QSettingsStore(const QString &fileName);

    /// "" when the key is absent, the store cannot be read, or the value is not a plain string. A file that
    /// cannot be read in full gives the values that could be read.
    std::string get(const std::string &key) override;
    void set(const std::string &key, const std::string &value) override;
    /// Writes the values set since the last commit and reads them back from the file.
    std::optional<std::string> commit() override;
    std::optional<std::string> unreadable() const override;

    /// Write pending changes to permanent storage now (QSettings does it at destruction otherwise).
    void sync();

private:
    void checkReadable();

    std::unique_ptr<QSettings> m_settings;
    std::optional<std::string> m_unreadable; ///< the file, when it could not be read in full at the start
    std::map<std::string, std::string> m_pending; ///< set since the last commit
};

} // namespace prefs
