// A small variant value: the values that script values and system variables
// carry across the core (empty, null, Boolean, integer, float, date-time,
// string, one-dimensional array).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace mirvex {

class TVariant {
public:
    enum class Kind { Empty, Null, Boolean, Integer, Float, DateTime, String, Array };
    using TArray = std::vector<TVariant>;

    TVariant() = default;
    static TVariant Null() { TVariant v; v.m_kind = Kind::Null; return v; }
    TVariant(bool v) : m_kind(Kind::Boolean), m_value(v) {}
    TVariant(int v) : m_kind(Kind::Integer), m_value(std::int64_t{v}) {}
    TVariant(std::int64_t v) : m_kind(Kind::Integer), m_value(v) {}
    TVariant(double v) : m_kind(Kind::Float), m_value(v) {}
    TVariant(const char* v) : m_kind(Kind::String), m_value(std::string(v)) {}
    TVariant(std::string v) : m_kind(Kind::String), m_value(std::move(v)) {}
    static TVariant DateTime(double v) { TVariant r(v); r.m_kind = Kind::DateTime; return r; }
    static TVariant Array(TArray items);

    Kind GetKind() const { return m_kind; }
    bool IsEmpty() const { return m_kind == Kind::Empty; }
    bool IsNull() const { return m_kind == Kind::Null; }

    // Requires: the kind matches (Float also serves DateTime).
    bool AsBoolean() const { return std::get<bool>(m_value); }
    std::int64_t AsInteger() const { return std::get<std::int64_t>(m_value); }
    double AsFloat() const { return std::get<double>(m_value); }
    const std::string& AsString() const { return std::get<std::string>(m_value); }
    const TArray& AsArray() const { return *std::get<std::shared_ptr<TArray>>(m_value); }

    bool operator==(const TVariant& other) const;

private:
    Kind m_kind = Kind::Empty;
    std::variant<std::monostate, bool, std::int64_t, double, std::string, std::shared_ptr<TArray>> m_value;
};

// The 16-byte in-memory variant image stored in script value lists: a 16-bit
// type code, 6 reserved bytes and 8 payload bytes.
constexpr std::uint16_t kVarEmpty = 0x0000;
constexpr std::uint16_t kVarNull = 0x0001;
constexpr std::uint16_t kVarSmallint = 0x0002;
constexpr std::uint16_t kVarInteger = 0x0003;
constexpr std::uint16_t kVarSingle = 0x0004;
constexpr std::uint16_t kVarDouble = 0x0005;
constexpr std::uint16_t kVarCurrency = 0x0006;
constexpr std::uint16_t kVarDate = 0x0007;
constexpr std::uint16_t kVarOleStr = 0x0008;
constexpr std::uint16_t kVarBoolean = 0x000B;
constexpr std::uint16_t kVarShortInt = 0x0010;
constexpr std::uint16_t kVarByte = 0x0011;
constexpr std::uint16_t kVarWord = 0x0012;
constexpr std::uint16_t kVarLongWord = 0x0013;
constexpr std::uint16_t kVarInt64 = 0x0014;
constexpr std::uint16_t kVarUInt64 = 0x0015;
constexpr std::uint16_t kVarString = 0x0100;
constexpr std::uint16_t kVarUString = 0x0102;

using TVariantImage = std::uint8_t[16];

// Writes the image of `value`. Strings and arrays have no inline payload:
// a string is written with payload 0 whatever its text (the text cannot
// travel in the image), an array as an empty value.
void VariantToImage(const TVariant& value, TVariantImage image);
// Reads the inline kinds; a string or any reference payload is never
// followed and reads as an empty value of its kind (an empty string for the
// string kinds, an empty variant otherwise).
TVariant VariantFromImage(const TVariantImage image);

}  // namespace mirvex
