// The one encoding layer of every record, packet and file image.
//
// Layout rules: all numbers little-endian, no alignment and no padding;
// integers and counts are int32; Booleans and enumerations one byte (0/1 and
// the ordinal); marks are 10-byte x87 extended floats; strings and byte
// blocks are an int32 byte count followed by exactly that many bytes, texts
// being single-byte code page 1251 characters without a terminator.
//
// Every read checks the bytes it got against the width it expects. A count
// that is negative or larger than the bytes left in the stream is a failed
// read and nothing is allocated for it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "Stream.h"

namespace mirvex {

[[nodiscard]] bool WriteByte(TStream& s, std::uint8_t value);
[[nodiscard]] bool ReadByte(TStream& s, std::uint8_t& value);
[[nodiscard]] bool WriteBoolean(TStream& s, bool value);
// Any non-zero byte reads as true.
[[nodiscard]] bool ReadBoolean(TStream& s, bool& value);
[[nodiscard]] bool WriteInt16(TStream& s, std::int16_t value);
[[nodiscard]] bool ReadInt16(TStream& s, std::int16_t& value);
[[nodiscard]] bool WriteInt32(TStream& s, std::int32_t value);
[[nodiscard]] bool ReadInt32(TStream& s, std::int32_t& value);
[[nodiscard]] bool WriteInt64(TStream& s, std::int64_t value);
[[nodiscard]] bool ReadInt64(TStream& s, std::int64_t& value);
[[nodiscard]] bool WriteDouble(TStream& s, double value);
[[nodiscard]] bool ReadDouble(TStream& s, double& value);
// The 10-byte extended image of a double.
[[nodiscard]] bool WriteExtended(TStream& s, double value);
[[nodiscard]] bool ReadExtended(TStream& s, double& value);

// int32 count, then the bytes. ReadString clears the target first.
[[nodiscard]] bool WriteString(TStream& s, std::string_view text);
[[nodiscard]] bool ReadString(TStream& s, std::string& text);
[[nodiscard]] bool WriteBytes(TStream& s, const TBytes& bytes);
[[nodiscard]] bool ReadBytes(TStream& s, TBytes& bytes);

// Reads an int32 count that must be non-negative and, with each item taking
// at least `minItemSize` bytes, must fit into the bytes left in the stream.
[[nodiscard]] bool ReadCount(TStream& s, std::int32_t& count, std::int64_t minItemSize = 1);

// Enumerations stored as one byte; the enum keeps any stored ordinal.
template <typename E>
[[nodiscard]] bool WriteEnum(TStream& s, E value) {
    return WriteByte(s, static_cast<std::uint8_t>(value));
}
template <typename E>
[[nodiscard]] bool ReadEnum(TStream& s, E& value) {
    std::uint8_t b = 0;
    if (!ReadByte(s, b)) return false;
    value = static_cast<E>(b);
    return true;
}

}  // namespace mirvex
