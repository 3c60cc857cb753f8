// Scalar, string and byte-block encoding.
#include "Coding.h"

#include <bit>

#include "Extended.h"

namespace mirvex {
namespace {

template <typename T>
bool WriteLittle(TStream& s, T value) {
    using U = std::make_unsigned_t<T>;
    auto u = static_cast<U>(value);
    std::uint8_t bytes[sizeof(T)];
    for (std::size_t i = 0; i < sizeof(T); ++i) bytes[i] = static_cast<std::uint8_t>(u >> (8 * i));
    return s.WriteBuffer(bytes, sizeof bytes);
}

template <typename T>
bool ReadLittle(TStream& s, T& value) {
    using U = std::make_unsigned_t<T>;
    std::uint8_t bytes[sizeof(T)];
    if (!s.ReadBuffer(bytes, sizeof bytes)) return false;
    U u = 0;
    for (std::size_t i = sizeof(T); i-- > 0;) u = static_cast<U>((u << 8) | bytes[i]);
    value = static_cast<T>(u);
    return true;
}

}  // namespace

bool WriteByte(TStream& s, std::uint8_t value) { return s.WriteBuffer(&value, 1); }
bool ReadByte(TStream& s, std::uint8_t& value) { return s.ReadBuffer(&value, 1); }

bool WriteBoolean(TStream& s, bool value) { return WriteByte(s, value ? 1 : 0); }
bool ReadBoolean(TStream& s, bool& value) {
    std::uint8_t b = 0;
    if (!ReadByte(s, b)) return false;
    value = b != 0;
    return true;
}

bool WriteInt16(TStream& s, std::int16_t value) { return WriteLittle(s, value); }
bool ReadInt16(TStream& s, std::int16_t& value) { return ReadLittle(s, value); }
bool WriteInt32(TStream& s, std::int32_t value) { return WriteLittle(s, value); }
bool ReadInt32(TStream& s, std::int32_t& value) { return ReadLittle(s, value); }
bool WriteInt64(TStream& s, std::int64_t value) { return WriteLittle(s, value); }
bool ReadInt64(TStream& s, std::int64_t& value) { return ReadLittle(s, value); }

bool WriteDouble(TStream& s, double value) { return WriteLittle(s, std::bit_cast<std::uint64_t>(value)); }
bool ReadDouble(TStream& s, double& value) {
    std::uint64_t bits = 0;
    if (!ReadLittle(s, bits)) return false;
    value = std::bit_cast<double>(bits);
    return true;
}

bool WriteExtended(TStream& s, double value) {
    const TExtendedImage image = DoubleToExtended(value);
    return s.WriteBuffer(image.data(), static_cast<std::int64_t>(image.size()));
}
bool ReadExtended(TStream& s, double& value) {
    TExtendedImage image{};
    if (!s.ReadBuffer(image.data(), static_cast<std::int64_t>(image.size()))) return false;
    value = ExtendedToDouble(image);
    return true;
}

bool ReadCount(TStream& s, std::int32_t& count, std::int64_t minItemSize) {
    std::int32_t n = 0;
    if (!ReadInt32(s, n)) return false;
    if (n < 0 || static_cast<std::int64_t>(n) * minItemSize > s.Remaining()) return false;
    count = n;
    return true;
}

bool WriteString(TStream& s, std::string_view text) {
    if (text.size() > static_cast<std::size_t>(INT32_MAX)) return false;
    return WriteInt32(s, static_cast<std::int32_t>(text.size())) &&
           s.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

bool ReadString(TStream& s, std::string& text) {
    text.clear();
    std::int32_t n = 0;
    if (!ReadCount(s, n)) return false;
    text.resize(static_cast<std::size_t>(n));
    return s.ReadBuffer(text.data(), n);
}

bool WriteBytes(TStream& s, const TBytes& bytes) {
    if (bytes.size() > static_cast<std::size_t>(INT32_MAX)) return false;
    return WriteInt32(s, static_cast<std::int32_t>(bytes.size())) &&
           s.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

bool ReadBytes(TStream& s, TBytes& bytes) {
    bytes.clear();
    std::int32_t n = 0;
    if (!ReadCount(s, n)) return false;
    bytes.resize(static_cast<std::size_t>(n));
    return s.ReadBuffer(bytes.data(), n);
}

}  // namespace mirvex
