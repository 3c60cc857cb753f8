// A small streaming JSON writer with two-space indentation. Texts given to it
// must be UTF-8; convert code page 1251 texts first.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mirvex {

class TJsonWriter {
public:
    TJsonWriter& BeginObject();
    TJsonWriter& EndObject();
    TJsonWriter& BeginArray();
    TJsonWriter& EndArray();
    // Names the next value inside an object.
    TJsonWriter& Key(std::string_view name);
    TJsonWriter& String(std::string_view utf8);
    TJsonWriter& Integer(std::int64_t value);
    // The shortest text that reads back as the same double; non-finite
    // values are written as null.
    TJsonWriter& Number(double value);
    TJsonWriter& Boolean(bool value);
    TJsonWriter& Null();

    const std::string& Text() const { return m_out; }

private:
    void BeforeValue();
    void NewLine();
    std::string m_out;
    // One entry per open container: whether it has an item yet.
    std::vector<bool> m_hasItems;
    bool m_afterKey = false;
};

std::string JsonEscape(std::string_view utf8);

}  // namespace mirvex
