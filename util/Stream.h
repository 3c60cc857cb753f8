// Byte streams with the semantics the records rely on: a read returns the
// number of bytes it got, the position can be set anywhere, the size is known.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace mirvex {

using TBytes = std::vector<std::uint8_t>;

enum class TSeekOrigin { Beginning, Current, End };

class TStream {
public:
    virtual ~TStream() = default;

    // Reads up to `count` bytes; returns how many arrived (0 at the end).
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    // Writes up to `count` bytes; returns how many were written.
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    // Returns the new position, or -1 when the position would be negative
    // or the underlying file refuses it. Positions past the end are allowed.
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
    virtual std::int64_t Size() const = 0;
    virtual std::int64_t Position() const = 0;

    void SetPosition(std::int64_t position) { Seek(position, TSeekOrigin::Beginning); }
    // Bytes between the position and the end; 0 when the position is past it.
    std::int64_t Remaining() const;
    // All-or-nothing forms of Read and Write.
    [[nodiscard]] bool ReadBuffer(void* buffer, std::int64_t count);
    [[nodiscard]] bool WriteBuffer(const void* buffer, std::int64_t count);
    // Copies `count` bytes from `source` at its position; false on a short copy.
    [[nodiscard]] bool CopyFrom(TStream& source, std::int64_t count);
};

class TMemoryStream final : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(TBytes bytes) : m_data(std::move(bytes)) {}
    TMemoryStream(const void* data, std::size_t size);

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() const override { return static_cast<std::int64_t>(m_data.size()); }
    std::int64_t Position() const override { return m_position; }

    void Clear();
    void SetSize(std::int64_t size);
    const TBytes& Bytes() const { return m_data; }
    TBytes TakeBytes();
    const std::uint8_t* Data() const { return m_data.data(); }

    [[nodiscard]] bool LoadFromFile(const std::string& path);
    [[nodiscard]] bool SaveToFile(const std::string& path) const;

private:
    TBytes m_data;
    std::int64_t m_position = 0;
};

enum class TFileMode {
    OpenRead,       // existing file, reading only
    OpenReadWrite,  // existing file, reading and writing
    Create,         // created or truncated, reading and writing
};

class TFileStream final : public TStream {
public:
    // Returns null when the file cannot be opened in that mode.
    static std::unique_ptr<TFileStream> Open(const std::string& path, TFileMode mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() const override;
    std::int64_t Position() const override { return m_position; }

    // Flushes the file's data to the disk.
    [[nodiscard]] bool Sync();
    int Handle() const { return m_fd; }

private:
    explicit TFileStream(int fd) : m_fd(fd) {}
    int m_fd;
    std::int64_t m_position = 0;
};

// Whole-file helpers; false when the file cannot be read or written completely.
[[nodiscard]] bool ReadFileBytes(const std::string& path, TBytes& out);
[[nodiscard]] bool WriteFileBytes(const std::string& path, const void* data, std::size_t size);

}  // namespace mirvex
