// An open file descriptor that closes itself, so that no path out of a function leaks it.
#pragma once

#include <unistd.h>

#include <utility>

class FileHandle {
  public:
    FileHandle() = default;
    explicit FileHandle(int fd) : m_fd(fd) {}
    ~FileHandle() {
        if (m_fd >= 0) ::close(m_fd);
    }
    FileHandle(FileHandle&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileHandle& operator=(FileHandle&& other) noexcept {
        if (this != &other) {
            FileHandle old(std::exchange(m_fd, std::exchange(other.m_fd, -1)));
        }
        return *this;
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    int Get() const { return m_fd; }

    // Closes now, for the writes whose last error only close reports; false with errno set.
    [[nodiscard]] bool Close() { return ::close(std::exchange(m_fd, -1)) == 0; }

  private:
    int m_fd = -1;
};
