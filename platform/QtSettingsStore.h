#pragma once

#include <memory>
#include <string>

#include "base/SettingsStore.h"

class QSettings;

/// The program's settings in QSettings, organisation and application
/// "KV20481733PW": on Linux an INI file under XDG_CONFIG_HOME (or ~/.config).
/// The desktop program and the command-line tool share it.
class CQtSettingsStore final : public ISettingsStore {
public:
    CQtSettingsStore();
    ~CQtSettingsStore() override;
    CQtSettingsStore(const CQtSettingsStore&) = delete;
    CQtSettingsStore& operator=(const CQtSettingsStore&) = delete;

    int GetInt(const std::string& section, const std::string& name, int defaultValue) const override;
    void WriteInt(const std::string& section, const std::string& name, int value) override;
    std::string GetString(const std::string& section, const std::string& name,
                          const std::string& defaultValue) const override;
    void WriteString(const std::string& section, const std::string& name, const std::string& value) override;

    /// Writes pending changes to disk.
    void Sync();
    /// The file the settings live in.
    std::string FileName() const;

private:
    std::unique_ptr<QSettings> m_settings;
};

/// The organisation and application name of the settings.
inline constexpr const char* kSettingsOrganization = "KV20481733PW";
inline constexpr const char* kSettingsApplication = "KV20481733PW";
