// Placeholder values.
#include "VariableValues.h"

#include "util/Cp1251.h"
#include "util/Strings.h"

namespace mirvex {

void TVariableValues::Add(std::string_view name, std::string_view value) {
    Text.append(name);
    Text += '=';
    Text.append(value);
    Text += "\r\n";
}

std::optional<std::string> TVariableValues::Value(std::string_view name) const {
    for (const std::string& line : SplitLines(Text)) {
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos && SameText1251(std::string_view(line).substr(0, eq), name))
            return line.substr(eq + 1);
    }
    return std::nullopt;
}

bool TVariableValues::LoadBody(TStream& s) { return TCustomTanker::LoadBody(s) && ReadString(s, Text); }

bool TVariableValues::SaveBody(TStream& s) const { return TCustomTanker::SaveBody(s) && WriteString(s, Text); }

}  // namespace mirvex
