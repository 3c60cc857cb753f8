// Variant values and their 16-byte image.
#include "Variant.h"

#include <bit>
#include <cstring>

namespace mirvex {
namespace {

template <typename T>
T Payload(const TVariantImage image) {
    T value{};
    std::uint8_t bytes[sizeof(T)];
    std::memcpy(bytes, image + 8, sizeof(T));
    using U = std::conditional_t<sizeof(T) == 1, std::uint8_t,
              std::conditional_t<sizeof(T) == 2, std::uint16_t,
              std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>>;
    U u = 0;
    for (std::size_t i = sizeof(T); i-- > 0;) u = static_cast<U>((u << 8) | bytes[i]);
    std::memcpy(&value, &u, sizeof(T));
    return value;
}

template <typename T>
void SetPayload(TVariantImage image, T value) {
    using U = std::conditional_t<sizeof(T) == 2, std::uint16_t,
              std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>;
    U u = 0;
    std::memcpy(&u, &value, sizeof(T));
    for (std::size_t i = 0; i < sizeof(T); ++i) image[8 + i] = static_cast<std::uint8_t>(u >> (8 * i));
}

}  // namespace

TVariant TVariant::Array(TArray items) {
    TVariant v;
    v.m_kind = Kind::Array;
    v.m_value = std::make_shared<TArray>(std::move(items));
    return v;
}

bool TVariant::operator==(const TVariant& other) const {
    if (m_kind != other.m_kind) return false;
    switch (m_kind) {
        case Kind::Empty:
        case Kind::Null: return true;
        case Kind::Array: return AsArray() == other.AsArray();
        default: return m_value == other.m_value;
    }
}

void VariantToImage(const TVariant& value, TVariantImage image) {
    std::memset(image, 0, 16);
    std::uint16_t code = kVarEmpty;
    switch (value.GetKind()) {
        case TVariant::Kind::Empty:
        case TVariant::Kind::Array: break;
        case TVariant::Kind::Null: code = kVarNull; break;
        case TVariant::Kind::Boolean:
            code = kVarBoolean;
            SetPayload<std::int16_t>(image, value.AsBoolean() ? -1 : 0);
            break;
        case TVariant::Kind::Integer: {
            const std::int64_t v = value.AsInteger();
            if (v >= INT32_MIN && v <= INT32_MAX) {
                code = kVarInteger;
                SetPayload<std::int32_t>(image, static_cast<std::int32_t>(v));
            } else {
                code = kVarInt64;
                SetPayload<std::int64_t>(image, v);
            }
            break;
        }
        case TVariant::Kind::Float:
            code = kVarDouble;
            SetPayload<double>(image, value.AsFloat());
            break;
        case TVariant::Kind::DateTime:
            code = kVarDate;
            SetPayload<double>(image, value.AsFloat());
            break;
        case TVariant::Kind::String: code = kVarString; break;
    }
    image[0] = static_cast<std::uint8_t>(code);
    image[1] = static_cast<std::uint8_t>(code >> 8);
}

TVariant VariantFromImage(const TVariantImage image) {
    const auto code = static_cast<std::uint16_t>(image[0] | (image[1] << 8));
    switch (code) {
        case kVarEmpty: return {};
        case kVarNull: return TVariant::Null();
        case kVarSmallint: return TVariant(std::int64_t{Payload<std::int16_t>(image)});
        case kVarInteger: return TVariant(std::int64_t{Payload<std::int32_t>(image)});
        case kVarSingle: return TVariant(static_cast<double>(Payload<float>(image)));
        case kVarDouble: return TVariant(Payload<double>(image));
        case kVarCurrency: return TVariant(static_cast<double>(Payload<std::int64_t>(image)) / 10000.0);
        case kVarDate: return TVariant::DateTime(Payload<double>(image));
        case kVarBoolean: return TVariant(Payload<std::int16_t>(image) != 0);
        case kVarShortInt: return TVariant(std::int64_t{Payload<std::int8_t>(image)});
        case kVarByte: return TVariant(std::int64_t{Payload<std::uint8_t>(image)});
        case kVarWord: return TVariant(std::int64_t{Payload<std::uint16_t>(image)});
        case kVarLongWord: return TVariant(std::int64_t{Payload<std::uint32_t>(image)});
        case kVarInt64: return TVariant(Payload<std::int64_t>(image));
        case kVarUInt64: {
            const auto v = Payload<std::uint64_t>(image);
            return v <= static_cast<std::uint64_t>(INT64_MAX) ? TVariant(static_cast<std::int64_t>(v))
                                                              : TVariant(static_cast<double>(v));
        }
        case kVarOleStr:
        case kVarString:
        case kVarUString: return TVariant(std::string());
        default: return {};  // references, arrays, interfaces: never followed
    }
}

}  // namespace mirvex
