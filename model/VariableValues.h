// The name=value lines that travel with a displayed text, for the
// substitution of its $name$ placeholders.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "CustomTanker.h"

namespace mirvex {

class TVariableValues : public TCustomTanker {
public:
    // Lines of the form name=value.
    std::string Text;

    // Appends the line name=value.
    void Add(std::string_view name, std::string_view value);
    // The value of the first line whose name matches, ignoring code page
    // 1251 letter case.
    std::optional<std::string> Value(std::string_view name) const;

    // Body after Version: string Text.
    [[nodiscard]] bool LoadBody(TStream& s) override;
    [[nodiscard]] bool SaveBody(TStream& s) const override;
};

}  // namespace mirvex
