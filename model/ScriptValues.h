// Script values: the test author's global values and the catalogue of the
// system variables share this list.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "CustomTanker.h"
#include "util/Variant.h"

namespace mirvex {

enum class TScriptValueKind : std::uint8_t {
    Boolean = 0,
    DateTime = 1,
    Float = 2,
    Integer = 3,
    String = 4,
    Variant = 5,
};

// The type name scripts use for a kind; empty for an unknown ordinal.
std::string_view ScriptValueKindName(TScriptValueKind kind);

struct TScriptValueInfo {
    TScriptValueKind ValueKind = TScriptValueKind::Boolean;
    std::string Name;
    std::string Description;
    TVariant Value;
    // Scripts see a read-only value as a constant.
    bool ReadOnly = false;
};

class TScriptValues : public TCustomTanker {
public:
    int Count() const { return static_cast<int>(m_items.size()); }
    // Null outside 0..Count()-1.
    TScriptValueInfo* Items(int index) const;
    // -1 when the entry is not in this list.
    int IndexOf(const TScriptValueInfo* entry) const;
    // Appends an empty entry for the caller to fill.
    TScriptValueInfo* Add();
    // Names compare with the Latin letters a-z turned into capitals; any
    // other byte must match exactly. First match, or null.
    TScriptValueInfo* FindByName(std::string_view name) const;
    void Clear() { m_items.clear(); }

    // Body after Version: int32 count, then per entry without framing:
    //   byte ValueKind, byte ReadOnly, 16-byte variant image,
    //   string Name, string Description
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;

private:
    std::vector<std::unique_ptr<TScriptValueInfo>> m_items;
};

}  // namespace mirvex
