// Memory and file streams.
#include "Stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace mirvex {

std::int64_t TStream::Remaining() const {
    return std::max<std::int64_t>(0, Size() - Position());
}

bool TStream::ReadBuffer(void* buffer, std::int64_t count) {
    return count >= 0 && Read(buffer, count) == count;
}

bool TStream::WriteBuffer(const void* buffer, std::int64_t count) {
    return count >= 0 && Write(buffer, count) == count;
}

bool TStream::CopyFrom(TStream& source, std::int64_t count) {
    if (count < 0) return false;
    std::uint8_t chunk[64 * 1024];
    while (count > 0) {
        const std::int64_t want = std::min<std::int64_t>(count, sizeof chunk);
        const std::int64_t got = source.Read(chunk, want);
        if (got <= 0 || Write(chunk, got) != got) return false;
        count -= got;
    }
    return true;
}

TMemoryStream::TMemoryStream(const void* data, std::size_t size)
    : m_data(static_cast<const std::uint8_t*>(data), static_cast<const std::uint8_t*>(data) + size) {}

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
    if (count <= 0 || m_position >= Size()) return 0;
    const std::int64_t n = std::min(count, Size() - m_position);
    std::memcpy(buffer, m_data.data() + m_position, static_cast<std::size_t>(n));
    m_position += n;
    return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
    if (count <= 0) return 0;
    const std::int64_t end = m_position + count;
    if (end > Size()) {
        // Amortised growth: appending byte by byte stays linear.
        if (static_cast<std::size_t>(end) > m_data.capacity())
            m_data.reserve(std::max<std::size_t>(static_cast<std::size_t>(end), m_data.capacity() * 2));
        m_data.resize(static_cast<std::size_t>(end));
    }
    std::memcpy(m_data.data() + m_position, buffer, static_cast<std::size_t>(count));
    m_position = end;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    std::int64_t base = 0;
    if (origin == TSeekOrigin::Current) base = m_position;
    if (origin == TSeekOrigin::End) base = Size();
    if ((offset > 0 && base > std::numeric_limits<std::int64_t>::max() - offset) || base + offset < 0)
        return -1;
    m_position = base + offset;
    return m_position;
}

void TMemoryStream::Clear() {
    m_data.clear();
    m_position = 0;
}

void TMemoryStream::SetSize(std::int64_t size) {
    m_data.resize(static_cast<std::size_t>(std::max<std::int64_t>(0, size)));
    m_position = std::min(m_position, Size());
}

TBytes TMemoryStream::TakeBytes() {
    TBytes out = std::move(m_data);
    Clear();
    return out;
}

bool TMemoryStream::LoadFromFile(const std::string& path) {
    TBytes bytes;
    if (!ReadFileBytes(path, bytes)) return false;
    m_data = std::move(bytes);
    m_position = 0;
    return true;
}

bool TMemoryStream::SaveToFile(const std::string& path) const {
    return WriteFileBytes(path, m_data.data(), m_data.size());
}

std::unique_ptr<TFileStream> TFileStream::Open(const std::string& path, TFileMode mode) {
    int flags = O_CLOEXEC;
    switch (mode) {
        case TFileMode::OpenRead: flags |= O_RDONLY; break;
        case TFileMode::OpenReadWrite: flags |= O_RDWR; break;
        case TFileMode::Create: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
    }
    const int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return nullptr;
    }
    return std::unique_ptr<TFileStream>(new TFileStream(fd));
}

TFileStream::~TFileStream() { ::close(m_fd); }

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
    std::int64_t total = 0;
    auto* out = static_cast<std::uint8_t*>(buffer);
    while (total < count) {
        const ssize_t n = ::pread(m_fd, out + total, static_cast<std::size_t>(count - total), m_position);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        total += n;
        m_position += n;
    }
    return total;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
    std::int64_t total = 0;
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    while (total < count) {
        const ssize_t n = ::pwrite(m_fd, in + total, static_cast<std::size_t>(count - total), m_position);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        total += n;
        m_position += n;
    }
    return total;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    std::int64_t base = 0;
    if (origin == TSeekOrigin::Current) base = m_position;
    if (origin == TSeekOrigin::End) base = Size();
    if ((offset > 0 && base > std::numeric_limits<std::int64_t>::max() - offset) || base + offset < 0)
        return -1;
    m_position = base + offset;
    return m_position;
}

std::int64_t TFileStream::Size() const {
    struct stat st {};
    return ::fstat(m_fd, &st) == 0 ? static_cast<std::int64_t>(st.st_size) : 0;
}

bool TFileStream::Sync() { return ::fsync(m_fd) == 0; }

bool ReadFileBytes(const std::string& path, TBytes& out) {
    auto file = TFileStream::Open(path, TFileMode::OpenRead);
    if (!file) return false;
    TBytes bytes(static_cast<std::size_t>(file->Size()));
    if (!file->ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()))) return false;
    out = std::move(bytes);
    return true;
}

bool WriteFileBytes(const std::string& path, const void* data, std::size_t size) {
    auto file = TFileStream::Open(path, TFileMode::Create);
    return file && file->WriteBuffer(data, static_cast<std::int64_t>(size));
}

}  // namespace mirvex
