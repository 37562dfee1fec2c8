// A folder of a test's own under the system's temporary folder, removed with all it holds when
// the test ends.
#pragma once

#include <filesystem>
#include <string>

class ScratchFolder {
  public:
    // A new folder whose name starts with prefix; throws std::runtime_error when it cannot.
    explicit ScratchFolder(const std::string& prefix = "vantrel-test");
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();

    const std::filesystem::path& Path() const { return m_path; }
    std::string PathOf(const std::string& name) const { return (m_path / name).string(); }
    // Writes text to the file name in the folder; its full path.
    std::string Write(const std::string& name, const std::string& text) const;
    std::string Read(const std::string& name) const;

  private:
    std::filesystem::path m_path;
};

// A whole file's bytes; "" when it cannot be read.
std::string ReadFileText(const std::filesystem::path& path);
// Replaces the file's content with text; throws std::runtime_error when it cannot.
void WriteFileText(const std::filesystem::path& path, const std::string& text);
