#include "base/SettingsStore.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

std::string Key(const std::string& section, const std::string& name) {
    return section + '/' + name;
}

CMemorySettingsStore g_memoryStore;
ISettingsStore* g_profileStore = &g_memoryStore;

} // namespace

ISettingsStore& GetProfileStore() {
    return *g_profileStore;
}

void SetProfileStore(ISettingsStore* store) {
    g_profileStore = store ? store : &g_memoryStore;
}

int CMemorySettingsStore::GetInt(const std::string& section, const std::string& name, int defaultValue) const {
    auto it = m_values.find(Key(section, name));
    if (it == m_values.end() || it->second.empty())
        return defaultValue;
    const char* begin = it->second.c_str();
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(begin, &end, 10);
    if (errno != 0 || *end != '\0' || value < INT_MIN || value > INT_MAX)
        return defaultValue;
    return static_cast<int>(value);
}

void CMemorySettingsStore::WriteInt(const std::string& section, const std::string& name, int value) {
    m_values[Key(section, name)] = std::to_string(value);
}

std::string CMemorySettingsStore::GetString(const std::string& section, const std::string& name,
                                            const std::string& defaultValue) const {
    auto it = m_values.find(Key(section, name));
    return it == m_values.end() ? defaultValue : it->second;
}

void CMemorySettingsStore::WriteString(const std::string& section, const std::string& name, const std::string& value) {
    m_values[Key(section, name)] = value;
}

bool CMemorySettingsStore::Contains(const std::string& section, const std::string& name) const {
    return m_values.count(Key(section, name)) != 0;
}
