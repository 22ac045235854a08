#pragma once

#include <map>
#include <string>

/// The program's per-user settings: named integer and string values in named
/// sections. Every read takes the caller's default for a missing value or for
/// one the store cannot read as the asked kind.
class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    virtual int GetInt(const std::string& section, const std::string& name, int defaultValue) const = 0;
    virtual void WriteInt(const std::string& section, const std::string& name, int value) = 0;
    virtual std::string GetString(const std::string& section, const std::string& name,
                                  const std::string& defaultValue) const = 0;
    virtual void WriteString(const std::string& section, const std::string& name, const std::string& value) = 0;
};

/// The one section every value of the program lives in.
inline constexpr const char* kSettingsSection = "KV20481733PW";

/// The store of the running program. Until one is installed, a store in
/// memory that starts empty.
ISettingsStore& GetProfileStore();
/// Installs the program's store (not owned); nullptr restores the in-memory one.
void SetProfileStore(ISettingsStore* store);

/// A store held in memory; values written as one kind and read as the other
/// are converted the way a text file of settings would.
class CMemorySettingsStore final : public ISettingsStore {
public:
    int GetInt(const std::string& section, const std::string& name, int defaultValue) const override;
    void WriteInt(const std::string& section, const std::string& name, int value) override;
    std::string GetString(const std::string& section, const std::string& name,
                          const std::string& defaultValue) const override;
    void WriteString(const std::string& section, const std::string& name, const std::string& value) override;

    bool Contains(const std::string& section, const std::string& name) const;
    std::size_t Size() const { return m_values.size(); }
    void Clear() { m_values.clear(); }

private:
    std::map<std::string, std::string> m_values; // key: section + '/' + name
};
