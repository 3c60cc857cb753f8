// The base of every stored or transmitted record and its framed image, the
// tanker block:
//
//   int32  total size of the block, counting these 4 bytes
//   int32  Version
//   ...    the rest of the body, as the class's SaveBody writes it
//
// Loads and saves return false and raise nothing. A failed LoadFromStream
// leaves the stream at its end, so that every later read fails as well.
#pragma once

#include <cstdint>

#include "util/Coding.h"
#include "util/Stream.h"

namespace mirvex {

class TCustomTanker {
public:
    TCustomTanker() = default;
    virtual ~TCustomTanker() = default;
    TCustomTanker(const TCustomTanker&) = delete;
    TCustomTanker& operator=(const TCustomTanker&) = delete;

    // Format version of the body; a load replaces it with the stored value,
    // so a later save writes the version the object was read with.
    std::int32_t Version = 0;

    // Reads the body (the base reads Version). Subclasses call the parent
    // first, then read their own fields in order.
    [[nodiscard]] virtual bool LoadBody(TStream& s);
    // The mirror of LoadBody.
    [[nodiscard]] virtual bool SaveBody(TStream& s) const;

    // Writes a whole block: size placeholder, body, then the size patched in.
    [[nodiscard]] bool SaveToStream(TStream& s) const;
    // Reads a whole block and leaves the stream just behind it, skipping body
    // bytes this class does not know. A block whose size is smaller than
    // what the body took, or larger than the bytes left, is damaged.
    [[nodiscard]] bool LoadFromStream(TStream& s);
    // Deep copy through a memory stream image.
    [[nodiscard]] bool CopyFrom(const TCustomTanker& source);

protected:
    // Inside LoadBody: the bytes of this object's block that are still
    // unread. Lets a body read trailing fields that older writers left out.
    std::int64_t BytesLeftInBlock(const TStream& s) const { return m_loadEnd - s.Position(); }

private:
    std::int64_t m_loadEnd = 0;
};

// Saves one block into fresh bytes; empty on failure.
TBytes SaveToBytes(const TCustomTanker& tanker);
// Loads one block from the start of `bytes`.
[[nodiscard]] bool LoadFromBytes(TCustomTanker& tanker, const TBytes& bytes);

// Blocks nest at most this deep; a deeper image is damaged. It keeps a
// crafted user tree from exhausting the stack.
constexpr int kMaxBlockNesting = 200;

}  // namespace mirvex
