// An owned list of strings that can travel as a tanker block.
#pragma once

#include <string>
#include <vector>

#include "CustomTanker.h"

namespace mirvex {

class TStringsTanker : public TCustomTanker {
public:
    int Count() const { return static_cast<int>(m_items.size()); }
    void Clear() { m_items.clear(); }
    void Add(std::string text) { m_items.push_back(std::move(text)); }
    // The empty string outside 0..Count()-1.
    const std::string& Get(int index) const;

    // Body after Version: int32 count, then count strings.
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;

private:
    std::vector<std::string> m_items;
};

}  // namespace mirvex
