// An exclusive advisory lock on a companion file that is never replaced,
// held for the lifetime of the object. Open-file-description locks: two
// holders in one process exclude each other as two processes do.
#pragma once

#include <memory>
#include <string>

namespace mirvex {

class TFileLock {
public:
    // Creates the lock file when missing and waits for the lock; null when
    // the file cannot be created or locked.
    static std::unique_ptr<TFileLock> Acquire(const std::string& lockPath);
    ~TFileLock();
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;

private:
    explicit TFileLock(int fd) : m_fd(fd) {}
    int m_fd;
};

}  // namespace mirvex
