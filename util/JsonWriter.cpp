// JSON output.
#include "JsonWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace mirvex {

std::string JsonEscape(std::string_view utf8) {
    std::string out = "\"";
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04X", c);
                    out += buffer;
                } else {
                    out += ch;
                }
        }
    }
    return out + "\"";
}

void TJsonWriter::NewLine() {
    m_out += '\n';
    m_out.append(m_hasItems.size() * 2, ' ');
}

void TJsonWriter::BeforeValue() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_hasItems.empty()) {
        if (m_hasItems.back()) m_out += ',';
        m_hasItems.back() = true;
        NewLine();
    }
}

TJsonWriter& TJsonWriter::BeginObject() {
    BeforeValue();
    m_out += '{';
    m_hasItems.push_back(false);
    return *this;
}

TJsonWriter& TJsonWriter::EndObject() {
    const bool any = m_hasItems.back();
    m_hasItems.pop_back();
    if (any) NewLine();
    m_out += '}';
    if (m_hasItems.empty()) m_out += '\n';
    return *this;
}

TJsonWriter& TJsonWriter::BeginArray() {
    BeforeValue();
    m_out += '[';
    m_hasItems.push_back(false);
    return *this;
}

TJsonWriter& TJsonWriter::EndArray() {
    const bool any = m_hasItems.back();
    m_hasItems.pop_back();
    if (any) NewLine();
    m_out += ']';
    if (m_hasItems.empty()) m_out += '\n';
    return *this;
}

TJsonWriter& TJsonWriter::Key(std::string_view name) {
    BeforeValue();
    m_out += JsonEscape(name);
    m_out += ": ";
    m_afterKey = true;
    return *this;
}

TJsonWriter& TJsonWriter::String(std::string_view utf8) {
    BeforeValue();
    m_out += JsonEscape(utf8);
    return *this;
}

TJsonWriter& TJsonWriter::Integer(std::int64_t value) {
    BeforeValue();
    m_out += std::to_string(value);
    return *this;
}

TJsonWriter& TJsonWriter::Number(double value) {
    BeforeValue();
    if (!std::isfinite(value)) {
        m_out += "null";
        return *this;
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    m_out.append(buffer, result.ptr);
    return *this;
}

TJsonWriter& TJsonWriter::Boolean(bool value) {
    BeforeValue();
    m_out += value ? "true" : "false";
    return *this;
}

TJsonWriter& TJsonWriter::Null() {
    BeforeValue();
    m_out += "null";
    return *this;
}

}  // namespace mirvex
