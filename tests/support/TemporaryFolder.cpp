#include "tests/support/TemporaryFolder.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

CTemporaryFolder::CTemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quavern-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data()))
        throw std::runtime_error("cannot create a temporary folder from " + pattern);
    m_path = buffer.data();
}

CTemporaryFolder::~CTemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string CTemporaryFolder::FilePath(const std::string& name) const {
    return m_path + "/" + name;
}
