// Advisory file locks.
#include "FileLock.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace mirvex {

std::unique_ptr<TFileLock> TFileLock::Acquire(const std::string& lockPath) {
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    int rc = 0;
    while ((rc = ::fcntl(fd, F_OFD_SETLKW, &lock)) < 0 && errno == EINTR) {
    }
    if (rc < 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<TFileLock>(new TFileLock(fd));
}

TFileLock::~TFileLock() { ::close(m_fd); }  // closing the description releases the lock

}  // namespace mirvex
