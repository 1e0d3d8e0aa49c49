#pragma once
// Files of tests: a fresh temporary directory that removes itself, and whole
// files read and written byte for byte (independently of the program's own
// file code, which tests check).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vellum::test {

/// A fresh empty directory below the system's temporary directory
/// ("vellum-<label>-XXXXXX"), removed with everything in it by the destructor.
/// Throws std::runtime_error when it cannot be made.
class TempDir {
public:
    explicit TempDir(std::string_view label = "test");
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::string &path() const { return m_path; }
    /// The path of a file (or folder) in the directory.
    std::string file(std::string_view name) const { return m_path + "/" + std::string(name); }

private:
    std::string m_path;
};

/// The whole file; empty when it cannot be read.
std::vector<std::uint8_t> ReadFile(const std::string &path);
/// Writes the bytes as the whole file; throws std::runtime_error naming the file on failure.
void WriteFile(const std::string &path, const std::vector<std::uint8_t> &bytes);
void WriteFile(const std::string &path, std::string_view text);

} // namespace vellum::test
