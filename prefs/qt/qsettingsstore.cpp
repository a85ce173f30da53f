#include "qsettingsstore.h"

#include <QMetaType>
#include <QVariant>

namespace prefs
{

namespace
{

QString optionKey(const std::string &key)
{
    return QStringLiteral("Options/") + QString::fromStdString(key);
}

/// A fresh reading of the same store, as the next start will see it.
std::unique_ptr<QSettings> reopen(const QSettings &settings)
{
    if (settings.format() == QSettings::IniFormat) {
        return std::make_unique<QSettings>(settings.fileName(), QSettings::IniFormat);
    }
    return std::make_unique<QSettings>(settings.organizationName(), settings.applicationName());
}

} // namespace

QSettingsStore::QSettingsStore()
    : m_settings(std::make_unique<QSettings>(QStringLiteral("Tonvale"), QStringLiteral("Tonvale")))
{
    checkReadable();
}

QSettingsStore::QSettingsStore(const QString &fileName)
    : m_settings(std::make_unique<QSettings>(fileName, QSettings::IniFormat))
{
    checkReadable();
}

void QSettingsStore::checkReadable()
{
    // QSettings reads on first use, and writes a file only after a change: an unreadable one stays as it is
    // until the user saves.
    m_settings->contains(QStringLiteral("Options/Accidentals"));
    if (m_settings->status() != QSettings::NoError) {
        m_unreadable = m_settings->fileName().toStdString();
    }
}

std::string QSettingsStore::get(const std::string &key)
{
    if (m_settings->status() == QSettings::AccessError) {
        return {};
    }
    const QVariant value = m_settings->value(optionKey(key));
    // Only a plain string is a stored preference; anything else (a list, a byte array, junk) reads as absent.
    if (value.typeId() != QMetaType::QString) {
        return {};
    }
    return value.toString().toStdString();
}

void QSettingsStore::set(const std::string &key, const std::string &value)
{
    m_settings->setValue(optionKey(key), QString::fromStdString(value));
    m_pending[key] = value;
}

std::optional<std::string> QSettingsStore::commit()
{
    m_settings->sync();
    const std::string file = m_settings->fileName().toStdString();
    if (m_settings->status() == QSettings::AccessError || !m_settings->isWritable()) {
        return file + " cannot be written.";
    }
    // The status does not tell every failure (a file that could not be read stays a format error after it
    // was written anew): read the values back as the next start will.
    const auto written = reopen(*m_settings);
    for (const auto &[key, value] : m_pending) {
        if (written->value(optionKey(key)).toString().toStdString() != value) {
            return file + " was not written.";
        }
    }
    m_pending.clear();
    return std::nullopt;
}

std::optional<std::string> QSettingsStore::unreadable() const
{
    return m_unreadable;
}

void QSettingsStore::sync()
{
    m_settings->sync();
}

} // namespace prefs
