// String list record.
#include "StringsTanker.h"

namespace mirvex {

const std::string& TStringsTanker::Get(int index) const {
    static const std::string kEmpty;
    return index >= 0 && index < Count() ? m_items[static_cast<std::size_t>(index)] : kEmpty;
}

bool TStringsTanker::LoadBody(TStream& s) {
    Clear();
    std::int32_t count = 0;
    if (!TCustomTanker::LoadBody(s) || !ReadCount(s, count, 4)) return false;
    for (std::int32_t i = 0; i < count; ++i) {
        std::string text;
        if (!ReadString(s, text)) return false;
        m_items.push_back(std::move(text));
    }
    return true;
}

bool TStringsTanker::SaveBody(TStream& s) const {
    if (!TCustomTanker::SaveBody(s) || !WriteInt32(s, Count())) return false;
    for (const auto& text : m_items)
        if (!WriteString(s, text)) return false;
    return true;
}

}  // namespace mirvex
