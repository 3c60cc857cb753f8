// Run-time values.
#include "ScriptValue.h"

namespace mirvex::script {

TValue TValue::String(std::string_view text) {
    TValue r(TValueTag::String);
    if (!text.empty()) {
        auto* s = new TStringObject;
        s->Text.assign(text);
        r.m_u.obj = s;
    }
    return r;
}

TValue TValue::String(std::string&& text) {
    TValue r(TValueTag::String);
    if (!text.empty()) {
        auto* s = new TStringObject;
        s->Text = std::move(text);
        r.m_u.obj = s;
    }
    return r;
}

const std::string& TValue::Str() const {
    static const std::string kEmpty;
    return m_u.obj ? static_cast<TStringObject*>(m_u.obj)->Text : kEmpty;
}

std::string& TValue::MutableStr() {
    if (m_tag != TValueTag::String) *this = EmptyString();
    if (!m_u.obj) {
        m_u.obj = new TStringObject;
    } else if (m_u.obj->Refs > 1) {
        auto* copy = new TStringObject;
        copy->Text = static_cast<TStringObject*>(m_u.obj)->Text;
        --m_u.obj->Refs;
        m_u.obj = copy;
    }
    return static_cast<TStringObject*>(m_u.obj)->Text;
}

TArrayObject& TValue::MutableArray() {
    if (m_tag != TValueTag::Array) *this = Object(TValueTag::Array, nullptr);
    if (m_u.obj && static_cast<TArrayObject*>(m_u.obj)->Dynamic) return *static_cast<TArrayObject*>(m_u.obj);
    return UniqueArray();
}

TArrayObject& TValue::UniqueArray() {
    if (m_tag != TValueTag::Array) *this = Object(TValueTag::Array, nullptr);
    if (!m_u.obj) {
        auto* array = new TArrayObject;
        array->Dynamic = true;  // only dynamic arrays are ever empty
        m_u.obj = array;
    } else if (m_u.obj->Refs > 1) {
        auto* copy = new TArrayObject(*static_cast<TArrayObject*>(m_u.obj));
        copy->Refs = 1;
        --m_u.obj->Refs;
        m_u.obj = copy;
    }
    return *static_cast<TArrayObject*>(m_u.obj);
}

TRecordObject& TValue::MutableRecord() {
    if (m_tag != TValueTag::Record) *this = Object(TValueTag::Record, new TRecordObject);
    if (m_u.obj->Refs > 1) {
        auto* copy = new TRecordObject(*static_cast<TRecordObject*>(m_u.obj));
        copy->Refs = 1;
        --m_u.obj->Refs;
        m_u.obj = copy;
    }
    return *static_cast<TRecordObject*>(m_u.obj);
}

}  // namespace mirvex::script
