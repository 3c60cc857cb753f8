// Host units.
#include "HostUnit.h"

#include <algorithm>

namespace mirvex::script {

bool THostUnit::RemoveConstant(const std::string& name) {
    const auto it = std::find_if(m_constants.begin(), m_constants.end(),
                                 [&](const THostConstant& c) { return c.Name == name; });
    if (it == m_constants.end()) return false;
    m_constants.erase(it);
    return true;
}

bool THostUnit::RemoveVariable(const std::string& name) {
    const auto it = std::find_if(m_variables.begin(), m_variables.end(),
                                 [&](const THostVariable& v) { return v.Name == name; });
    if (it == m_variables.end()) return false;
    m_variables.erase(it);
    return true;
}

TValue ValueFromVariant(const TVariant& v) {
    switch (v.GetKind()) {
        case TVariant::Kind::Empty: return {};
        case TVariant::Kind::Null: return TValue::Null();
        case TVariant::Kind::Boolean: return TValue::Boolean(v.AsBoolean());
        case TVariant::Kind::Integer: return TValue::Integer(v.AsInteger());
        case TVariant::Kind::Float: return TValue::Float(v.AsFloat());
        case TVariant::Kind::DateTime: return TValue::DateTime(v.AsFloat());
        case TVariant::Kind::String: return TValue::String(v.AsString());
        case TVariant::Kind::Array: {
            auto* array = new TArrayObject;
            for (const TVariant& item : v.AsArray()) array->Items.push_back(ValueFromVariant(item));
            return TValue::Object(TValueTag::Array, array);
        }
    }
    return {};
}

TVariant VariantFromValue(const TValue& value) {
    const TValue& v = value.Deref();
    switch (v.Tag()) {
        case TValueTag::Null: return TVariant::Null();
        case TValueTag::Boolean: return TVariant(v.Bool());
        case TValueTag::Integer: return TVariant(v.Int());
        case TValueTag::Float: return TVariant(v.Flt());
        case TValueTag::DateTime: return TVariant::DateTime(v.Flt());
        case TValueTag::String: return TVariant(v.Str());
        case TValueTag::Array: {
            TVariant::TArray items;
            if (v.Array())
                for (const TValue& item : v.Array()->Items) items.push_back(VariantFromValue(item));
            return TVariant::Array(std::move(items));
        }
        default: return {};
    }
}

}  // namespace mirvex::script
