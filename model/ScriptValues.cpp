// Script value lists.
#include "ScriptValues.h"

#include "util/Cp1251.h"

namespace mirvex {

std::string_view ScriptValueKindName(TScriptValueKind kind) {
    switch (kind) {
        case TScriptValueKind::Boolean: return "Boolean";
        case TScriptValueKind::DateTime: return "DateTime";
        case TScriptValueKind::Float: return "Float";
        case TScriptValueKind::Integer: return "Integer";
        case TScriptValueKind::String: return "String";
        case TScriptValueKind::Variant: return "Variant";
    }
    return {};
}

TScriptValueInfo* TScriptValues::Items(int index) const {
    return index >= 0 && index < Count() ? m_items[static_cast<std::size_t>(index)].get() : nullptr;
}

int TScriptValues::IndexOf(const TScriptValueInfo* entry) const {
    for (int i = 0; i < Count(); ++i)
        if (m_items[static_cast<std::size_t>(i)].get() == entry) return i;
    return -1;
}

TScriptValueInfo* TScriptValues::Add() {
    m_items.push_back(std::make_unique<TScriptValueInfo>());
    return m_items.back().get();
}

TScriptValueInfo* TScriptValues::FindByName(std::string_view name) const {
    for (const auto& item : m_items)
        if (SameTextAscii(item->Name, name)) return item.get();
    return nullptr;
}

bool TScriptValues::LoadBody(TStream& s) {
    Clear();
    std::int32_t count = 0;
    // Each entry takes at least 1 + 1 + 16 + 4 + 4 bytes.
    if (!TCustomTanker::LoadBody(s) || !ReadCount(s, count, 26)) return false;
    for (std::int32_t i = 0; i < count; ++i) {
        TScriptValueInfo* entry = Add();
        std::uint8_t image[16];
        if (!ReadEnum(s, entry->ValueKind) || !ReadBoolean(s, entry->ReadOnly) || !s.ReadBuffer(image, 16) ||
            !ReadString(s, entry->Name) || !ReadString(s, entry->Description))
            return false;
        entry->Value = VariantFromImage(image);
    }
    return true;
}

bool TScriptValues::SaveBody(TStream& s) const {
    if (!TCustomTanker::SaveBody(s) || !WriteInt32(s, Count())) return false;
    for (const auto& entry : m_items) {
        std::uint8_t image[16];
        VariantToImage(entry->Value, image);
        if (!WriteEnum(s, entry->ValueKind) || !WriteBoolean(s, entry->ReadOnly) || !s.WriteBuffer(image, 16) ||
            !WriteString(s, entry->Name) || !WriteString(s, entry->Description))
            return false;
    }
    return true;
}

}  // namespace mirvex
