// Run-time values of the script language. Scalars live inline; strings,
// arrays, records, sets and exception objects are reference-counted heap
// objects shared on copy and copied on the first write (copy on write), so
// passing and assigning is cheap and appending to a string held once is
// amortised. Counts are not atomic: a program runs on one thread.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mirvex::script {

enum class TValueTag : std::uint8_t {
    Unassigned,
    Null,
    Boolean,
    Integer,
    Float,
    DateTime,
    String,
    Array,
    Record,
    Set,
    Exception,
    Ref,  // a var parameter: stands for another value
};

struct THeapObject {
    int Refs = 1;
    virtual ~THeapObject() = default;
};

class TValue;

// The empty string is a String value without an object.
struct TStringObject final : THeapObject {
    std::string Text;
};

struct TSetObject final : THeapObject {
    std::bitset<256> Bits;
};

struct TExceptionObject final : THeapObject {
    std::string ClassName;
    std::string Message;
};

struct TArrayObject;
struct TRecordObject;
struct TRefObject;

class TValue {
public:
    TValue() { m_u.i = 0; }
    ~TValue() { Release(); }
    TValue(const TValue& o) : m_tag(o.m_tag), m_u(o.m_u) { Retain(); }
    TValue(TValue&& o) noexcept : m_tag(o.m_tag), m_u(o.m_u) { o.m_tag = TValueTag::Unassigned; }
    TValue& operator=(const TValue& o) {
        if (this != &o) {
            TValue copy(o);
            Swap(copy);
        }
        return *this;
    }
    TValue& operator=(TValue&& o) noexcept {
        if (this != &o) {
            Release();
            m_tag = o.m_tag;
            m_u = o.m_u;
            o.m_tag = TValueTag::Unassigned;
        }
        return *this;
    }
    void Swap(TValue& o) noexcept {
        std::swap(m_tag, o.m_tag);
        std::swap(m_u, o.m_u);
    }

    static TValue Null() { return TValue(TValueTag::Null); }
    static TValue Boolean(bool v) {
        TValue r(TValueTag::Boolean);
        r.m_u.b = v;
        return r;
    }
    static TValue Integer(std::int64_t v) {
        TValue r(TValueTag::Integer);
        r.m_u.i = v;
        return r;
    }
    static TValue Float(double v) {
        TValue r(TValueTag::Float);
        r.m_u.f = v;
        return r;
    }
    static TValue DateTime(double v) {
        TValue r(TValueTag::DateTime);
        r.m_u.f = v;
        return r;
    }
    static TValue String(std::string_view text);
    static TValue String(std::string&& text);
    static TValue EmptyString() { return TValue(TValueTag::String); }
    // Takes over one reference of `object`.
    static TValue Object(TValueTag tag, THeapObject* object) {
        TValue r(tag);
        r.m_u.obj = object;
        return r;
    }

    TValueTag Tag() const { return m_tag; }
    bool IsHeap() const { return m_tag >= TValueTag::String && m_u.obj != nullptr; }

    // Requires the matching tag (Float also for DateTime).
    std::int64_t Int() const { return m_u.i; }
    std::int64_t& IntRef() { return m_u.i; }
    double Flt() const { return m_u.f; }
    double& FltRef() { return m_u.f; }
    bool Bool() const { return m_u.b; }
    void SetInt(std::int64_t v) {
        if (m_tag != TValueTag::Integer) *this = Integer(v);
        else m_u.i = v;
    }

    // Strings: the text (empty when there is no object) and a unique,
    // writable text.
    const std::string& Str() const;
    std::string& MutableStr();

    // Arrays, records, sets, exceptions: the object (null for an empty
    // dynamic array) and a writable one (unique, except dynamic arrays;
    // never null).
    TArrayObject* Array() const;
    TArrayObject& MutableArray();
    // A unique array even when it is dynamic (SetLength).
    TArrayObject& UniqueArray();
    TRecordObject* Record() const;
    TRecordObject& MutableRecord();
    TSetObject* SetObj() const { return static_cast<TSetObject*>(m_u.obj); }
    TExceptionObject* Exception() const { return static_cast<TExceptionObject*>(m_u.obj); }
    TRefObject* RefObj() const;
    THeapObject* Heap() const { return m_u.obj; }

    // The value a var parameter stands for, or this value itself.
    TValue& Deref();
    const TValue& Deref() const;

private:
    explicit TValue(TValueTag tag) : m_tag(tag) { m_u.i = 0; }
    void Retain() const {
        if (m_tag >= TValueTag::String && m_u.obj) ++m_u.obj->Refs;
    }
    void Release() {
        if (m_tag >= TValueTag::String && m_u.obj && --m_u.obj->Refs == 0) delete m_u.obj;
    }

    TValueTag m_tag = TValueTag::Unassigned;
    union {
        std::int64_t i;
        double f;
        bool b;
        THeapObject* obj;
    } m_u;
};

// Static arrays, records and variant arrays have value semantics: a write
// to a shared object copies it first. Dynamic arrays are references: their
// elements are written in place, and only SetLength makes a shared one
// unique.
struct TArrayObject final : THeapObject {
    std::int64_t Low = 0;
    bool Dynamic = false;
    std::vector<TValue> Items;
};

struct TRecordObject final : THeapObject {
    std::vector<TValue> Fields;
};

// Where a var parameter points, and the object that keeps that place alive
// (an array or record the place lies in; none for a variable's own slot,
// which outlives the call).
struct TRefObject final : THeapObject {
    TValue* Target = nullptr;
    THeapObject* Keep = nullptr;
    ~TRefObject() override;
};

inline TArrayObject* TValue::Array() const { return static_cast<TArrayObject*>(m_u.obj); }
inline TRecordObject* TValue::Record() const { return static_cast<TRecordObject*>(m_u.obj); }
inline TRefObject* TValue::RefObj() const { return static_cast<TRefObject*>(m_u.obj); }
inline TValue& TValue::Deref() { return m_tag == TValueTag::Ref ? *RefObj()->Target : *this; }
inline const TValue& TValue::Deref() const { return m_tag == TValueTag::Ref ? *RefObj()->Target : *this; }

inline TRefObject::~TRefObject() {
    if (Keep && --Keep->Refs == 0) delete Keep;
}

}  // namespace mirvex::script
