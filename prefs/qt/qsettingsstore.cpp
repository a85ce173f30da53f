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

} // namespace

QSettingsStore::QSettingsStore()
    : m_settings(QStringLiteral("Tonvale"), QStringLiteral("Tonvale"))
{
}

QSettingsStore::QSettingsStore(const QString &fileName)
    : m_settings(fileName, QSettings::IniFormat)
{
}

std::string QSettingsStore::get(const std::string &key)
{
    if (m_settings.status() != QSettings::NoError) {
        return {};
    }
    const QVariant value = m_settings.value(optionKey(key));
    // Only a plain string is a stored preference; anything else (a list, a byte array, junk) reads as absent.
    if (value.typeId() != QMetaType::QString) {
        return {};
    }
    return value.toString().toStdString();
}

void QSettingsStore::set(const std::string &key, const std::string &value)
{
    m_settings.setValue(optionKey(key), QString::fromStdString(value));
}

void QSettingsStore::sync()
{
    m_settings.sync();
}

} // namespace prefs
