#include "platform/QtSettingsStore.h"

#include <QSettings>
#include <QString>
#include <QVariant>

namespace {

QString Key(const std::string& section, const std::string& name) {
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(name);
}

} // namespace

CQtSettingsStore::CQtSettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             QString::fromLatin1(kSettingsOrganization),
                                             QString::fromLatin1(kSettingsApplication))) {}

CQtSettingsStore::~CQtSettingsStore() {
    m_settings->sync();
}

int CQtSettingsStore::GetInt(const std::string& section, const std::string& name, int defaultValue) const {
    const QVariant value = m_settings->value(Key(section, name));
    if (!value.isValid())
        return defaultValue;
    bool ok = false;
    const int result = value.toString().trimmed().toInt(&ok);
    return ok ? result : defaultValue;
}

void CQtSettingsStore::WriteInt(const std::string& section, const std::string& name, int value) {
    m_settings->setValue(Key(section, name), value);
}

std::string CQtSettingsStore::GetString(const std::string& section, const std::string& name,
                                        const std::string& defaultValue) const {
    const QVariant value = m_settings->value(Key(section, name));
    if (!value.isValid() || value.userType() == QMetaType::QStringList)
        return defaultValue;
    return value.toString().toStdString();
}

void CQtSettingsStore::WriteString(const std::string& section, const std::string& name, const std::string& value) {
    m_settings->setValue(Key(section, name), QString::fromStdString(value));
}

void CQtSettingsStore::Sync() {
    m_settings->sync();
}

std::string CQtSettingsStore::FileName() const {
    return m_settings->fileName().toStdString();
}
