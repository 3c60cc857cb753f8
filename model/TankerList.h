// The owning, ordered list of tanker items that every list record uses:
//
//   int32  count
//   count  tanker blocks, one per item, in list order
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "CustomTanker.h"

namespace mirvex {

template <typename T>
class TTankerList : public TCustomTanker {
public:
    int Count() const { return static_cast<int>(m_items.size()); }
    // Null outside 0..Count()-1.
    T* Items(int index) const {
        return index >= 0 && index < Count() ? m_items[static_cast<std::size_t>(index)].get() : nullptr;
    }
    T* Add() {
        m_items.push_back(std::make_unique<T>());
        return m_items.back().get();
    }
    void Clear() { m_items.clear(); }
    // Frees the item; nothing happens outside 0..Count()-1.
    void Delete(int index) {
        if (index >= 0 && index < Count()) m_items.erase(m_items.begin() + index);
    }
    // Nothing happens unless both indexes are within 0..Count()-1.
    void Swap(int a, int b) {
        if (a >= 0 && a < Count() && b >= 0 && b < Count())
            std::swap(m_items[static_cast<std::size_t>(a)], m_items[static_cast<std::size_t>(b)]);
    }
    // Clears, then appends a copy of each item of `source` in order.
    void Assign(const TTankerList& source) {
        if (&source == this) return;
        Clear();
        for (const auto& item : source.m_items) Add()->Assign(*item);
    }

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

    // Items read before a failure stay in the list.
    [[nodiscard]] bool LoadBody(TStream& s) override {
        Clear();
        std::int32_t count = 0;
        if (!TCustomTanker::LoadBody(s) || !ReadCount(s, count, 8)) return false;
        for (std::int32_t i = 0; i < count; ++i)
            if (!Add()->LoadFromStream(s)) return false;
        return true;
    }
    [[nodiscard]] bool SaveBody(TStream& s) const override {
        if (!TCustomTanker::SaveBody(s) || !WriteInt32(s, Count())) return false;
        for (const auto& item : m_items)
            if (!item->SaveToStream(s)) return false;
        return true;
    }

private:
    std::vector<std::unique_ptr<T>> m_items;
};

}  // namespace mirvex
