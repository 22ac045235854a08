#pragma once

#include <string>

/// A fresh, empty folder under the system's temporary folder, removed with
/// everything in it when the object goes.
class CTemporaryFolder final {
public:
    CTemporaryFolder();
    ~CTemporaryFolder();
    CTemporaryFolder(const CTemporaryFolder&) = delete;
    CTemporaryFolder& operator=(const CTemporaryFolder&) = delete;

    /// The folder's absolute path, without a trailing "/".
    const std::string& Path() const { return m_path; }
    /// Path() + "/" + name.
    std::string FilePath(const std::string& name) const;

private:
    std::string m_path;
};
