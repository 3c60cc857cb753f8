// The standard routines, with Delphi's semantics and the core's format
// settings.
#include "Builtins.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <unordered_map>
#include <vector>

#include "util/Cp1251.h"
#include "util/DateTime.h"
#include "util/FormatSettings.h"
#include "util/Stream.h"
#include "util/Strings.h"

namespace mirvex::script {
namespace {

namespace fs = std::filesystem;

std::mt19937_64& Rng() {
    static std::mt19937_64 rng(12345);
    return rng;
}

const std::string& S(TNativeCall& c, std::size_t i) { return c.Arg(i).Deref().Str(); }
std::int64_t I(TNativeCall& c, std::size_t i) { return c.Arg(i).Deref().Int(); }
double F(TNativeCall& c, std::size_t i) { return c.Arg(i).Deref().Flt(); }
bool B(TNativeCall& c, std::size_t i) { return c.Arg(i).Deref().Bool(); }
TValue Str(std::string s) { return TValue::String(std::move(s)); }
TValue Int(std::int64_t v) { return TValue::Integer(v); }
TValue Flt(double v) { return TValue::Float(v); }
TValue Bool(bool v) { return TValue::Boolean(v); }

[[noreturn]] void InvalidOp() { RaiseError("EInvalidOp", "Invalid floating point operation"); }

double Checked(double v) {
    if (!std::isfinite(v)) InvalidOp();
    return v;
}

std::int64_t ToInt64(double r) {
    if (!std::isfinite(r) || r < -9.2233720368547758e18 || r >= 9.2233720368547758e18) InvalidOp();
    return static_cast<std::int64_t>(r);
}

void CheckLength(std::int64_t n) {
    if (n > ScriptLimits().MaxStringLength) RaiseError("EOutOfMemory", "Out of memory");
}

// ---- conversions

TValue IntToStrFn(TNativeCall& c) { return Str(std::to_string(I(c, 0))); }
TValue StrToIntFn(TNativeCall& c) {
    if (auto v = TryStrToInt64(Trim(S(c, 0)))) return Int(*v);
    RaiseConvertError("'" + S(c, 0) + "' is not a valid integer value");
}
TValue StrToIntDefFn(TNativeCall& c) {
    if (auto v = TryStrToInt64(Trim(S(c, 0)))) return Int(*v);
    return Int(I(c, 1));
}
TValue FloatToStrFn(TNativeCall& c) { return Str(ScriptFloatToStr(F(c, 0))); }
TValue StrToFloatFn(TNativeCall& c) {
    double d = 0;
    if (ScriptTryStrToFloat(S(c, 0), d)) return Flt(d);
    RaiseConvertError("'" + S(c, 0) + "' is not a valid floating point value");
}
TValue StrToFloatDefFn(TNativeCall& c) {
    double d = 0;
    return Flt(ScriptTryStrToFloat(S(c, 0), d) ? d : F(c, 1));
}
TValue IntToHexFn(TNativeCall& c) {
    const std::int64_t v = I(c, 0);
    char buffer[32];
    if (v >= INT32_MIN && v <= INT32_MAX)
        std::snprintf(buffer, sizeof buffer, "%X", static_cast<std::uint32_t>(static_cast<std::int32_t>(v)));
    else
        std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(v));
    std::string text = buffer;
    const std::int64_t digits = c.Count() > 1 ? std::min<std::int64_t>(I(c, 1), 64) : 0;
    while (static_cast<std::int64_t>(text.size()) < digits) text.insert(text.begin(), '0');
    return Str(text);
}
TValue BoolToStrFn(TNativeCall& c) {
    const bool names = c.Count() > 1 && B(c, 1);
    if (names) return Str(B(c, 0) ? "True" : "False");
    return Str(B(c, 0) ? "-1" : "0");
}
TValue FormatFn(TNativeCall& c) {
    const TValue& array = c.Arg(1).Deref();
    std::vector<TFormatArg> args;
    std::vector<std::string> strings;
    const std::size_t n = array.Array() ? array.Array()->Items.size() : 0;
    strings.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const TValue& v = array.Array()->Items[i].Deref();
        switch (v.Tag()) {
            case TValueTag::Integer: args.emplace_back(static_cast<long long>(v.Int())); break;
            case TValueTag::Float:
            case TValueTag::DateTime: args.emplace_back(v.Flt()); break;
            case TValueTag::String:
                strings.push_back(v.Str());
                args.emplace_back(std::string_view(strings.back()));
                break;
            case TValueTag::Boolean:
                strings.push_back(v.Bool() ? "True" : "False");
                args.emplace_back(std::string_view(strings.back()));
                break;
            default:
                strings.push_back(VarToString(v));
                args.emplace_back(std::string_view(strings.back()));
        }
    }
    return Str(Format(S(c, 0), args.data(), args.size()));
}

// ---- strings

TValue CopyFn(TNativeCall& c) {
    const std::string& s = S(c, 0);
    std::int64_t index = I(c, 1);
    const std::int64_t len = static_cast<std::int64_t>(s.size());
    std::int64_t count = c.Count() > 2 ? I(c, 2) : len;
    if (index < 1) index = 1;
    if (index > len || count <= 0) return TValue::EmptyString();
    count = std::min(count, len - index + 1);
    return Str(s.substr(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count)));
}
TValue PosFn(TNativeCall& c) {
    const std::string& sub = S(c, 0);
    if (sub.empty()) return Int(0);
    const std::size_t at = S(c, 1).find(sub);
    return Int(at == std::string::npos ? 0 : static_cast<std::int64_t>(at) + 1);
}
TValue LengthFn(TNativeCall& c) {
    const TValue& v = c.Arg(0).Deref();
    if (v.Tag() == TValueTag::String) return Int(static_cast<std::int64_t>(v.Str().size()));
    if (v.Tag() == TValueTag::Array) return Int(v.Array() ? static_cast<std::int64_t>(v.Array()->Items.size()) : 0);
    return Int(0);
}
TValue LowFn(TNativeCall& c) {
    const TValue& v = c.Arg(0).Deref();
    if (v.Tag() == TValueTag::Array) return Int(v.Array() ? v.Array()->Low : 0);
    return Int(v.Tag() == TValueTag::String ? 1 : 0);
}
TValue HighFn(TNativeCall& c) {
    const TValue& v = c.Arg(0).Deref();
    if (v.Tag() == TValueTag::Array)
        return Int(v.Array() ? v.Array()->Low + static_cast<std::int64_t>(v.Array()->Items.size()) - 1 : -1);
    return Int(v.Tag() == TValueTag::String ? static_cast<std::int64_t>(v.Str().size()) : 0);
}
// SetLength for strings and dynamic arrays; the checker passes the
// element type's default value as a hidden third argument.
TValue SetLengthFn(TNativeCall& c) {
    TValue& target = c.Arg(0).Deref();
    const std::int64_t n = std::max<std::int64_t>(0, I(c, 1));
    if (target.Tag() == TValueTag::String) {
        CheckLength(n);
        target.MutableStr().resize(static_cast<std::size_t>(n), ' ');
        return {};
    }
    if (n > ScriptLimits().MaxArrayLength) RaiseError("EOutOfMemory", "Out of memory");
    TArrayObject& array = target.UniqueArray();
    array.Dynamic = true;
    array.Items.resize(static_cast<std::size_t>(n), c.Count() > 2 ? c.Arg(2).Deref() : TValue());
    return {};
}
TValue DeleteFn(TNativeCall& c) {
    std::string& s = c.Arg(0).Deref().MutableStr();
    const std::int64_t index = I(c, 1), count = I(c, 2);
    const std::int64_t len = static_cast<std::int64_t>(s.size());
    if (index < 1 || index > len || count <= 0) return {};
    s.erase(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(std::min(count, len - index + 1)));
    return {};
}
TValue InsertFn(TNativeCall& c) {
    const std::string sub = S(c, 0);
    std::string& s = c.Arg(1).Deref().MutableStr();
    std::int64_t index = I(c, 2);
    const std::int64_t len = static_cast<std::int64_t>(s.size());
    if (sub.empty()) return {};
    CheckLength(len + static_cast<std::int64_t>(sub.size()));
    if (index < 1) index = 1;
    if (index > len + 1) index = len + 1;
    s.insert(static_cast<std::size_t>(index - 1), sub);
    return {};
}
TValue UpperCaseFn(TNativeCall& c) { return Str(UpperCaseAscii(S(c, 0))); }
TValue LowerCaseFn(TNativeCall& c) {
    std::string s = S(c, 0);
    for (char& ch : s)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch + 32);
    return Str(s);
}
TValue AnsiUpperCaseFn(TNativeCall& c) { return Str(UpperCase1251(S(c, 0))); }
TValue AnsiLowerCaseFn(TNativeCall& c) { return Str(LowerCase1251(S(c, 0))); }
TValue TrimFn(TNativeCall& c) { return Str(Trim(S(c, 0))); }
TValue TrimLeftFn(TNativeCall& c) { return Str(TrimLeft(S(c, 0))); }
TValue TrimRightFn(TNativeCall& c) { return Str(TrimRight(S(c, 0))); }
TValue StringReplaceFn(TNativeCall& c) {
    const std::string& s = S(c, 0);
    const std::string& from = S(c, 1);
    const std::string& to = S(c, 2);
    const TSetObject* flags = c.Arg(3).Deref().SetObj();
    const bool all = flags && flags->Bits.test(0);
    const bool ignoreCase = flags && flags->Bits.test(1);
    if (from.empty()) return Str(s);
    const std::string hay = ignoreCase ? UpperCase1251(s) : s;
    const std::string needle = ignoreCase ? UpperCase1251(from) : from;
    std::string out;
    std::size_t pos = 0;
    while (true) {
        const std::size_t at = hay.find(needle, pos);
        if (at == std::string::npos) break;
        out.append(s, pos, at - pos);
        out += to;
        CheckLength(static_cast<std::int64_t>(out.size()));
        pos = at + needle.size();
        if (!all) break;
    }
    out.append(s, pos, std::string::npos);
    return Str(out);
}
TValue StringOfCharFn(TNativeCall& c) {
    const std::string& ch = S(c, 0);
    const std::int64_t n = I(c, 1);
    if (ch.empty() || n <= 0) return TValue::EmptyString();
    CheckLength(n);
    return Str(std::string(static_cast<std::size_t>(n), ch[0]));
}
TValue QuotedStrFn(TNativeCall& c) {
    std::string out = "'";
    for (char ch : S(c, 0)) {
        out += ch;
        if (ch == '\'') out += '\'';
    }
    return Str(out + "'");
}
TValue ChrFn(TNativeCall& c) {
    const std::int64_t v = I(c, 0);
    if (v < 0 || v > 255) RaiseRangeError();
    return Str(std::string(1, static_cast<char>(v)));
}
TValue OrdFn(TNativeCall& c) {
    const TValue& v = c.Arg(0).Deref();
    switch (v.Tag()) {
        case TValueTag::Integer: return v;
        case TValueTag::Boolean: return Int(v.Bool() ? 1 : 0);
        case TValueTag::String:
            if (v.Str().size() == 1) return Int(static_cast<unsigned char>(v.Str()[0]));
            RaiseConvertError("Ord needs a single character");
        default: RaiseConvertError("Ord needs an ordinal value");
    }
}
TValue IncFn(TNativeCall& c) {
    TValue& v = c.Arg(0).Deref();
    const std::int64_t by = c.Count() > 1 ? I(c, 1) : 1;
    v.SetInt(static_cast<std::int64_t>(static_cast<std::uint64_t>(v.Int()) + static_cast<std::uint64_t>(by)));
    return {};
}
TValue DecFn(TNativeCall& c) {
    TValue& v = c.Arg(0).Deref();
    const std::int64_t by = c.Count() > 1 ? I(c, 1) : 1;
    v.SetInt(static_cast<std::int64_t>(static_cast<std::uint64_t>(v.Int()) - static_cast<std::uint64_t>(by)));
    return {};
}
TValue SuccFn(TNativeCall& c) { return Int(static_cast<std::int64_t>(static_cast<std::uint64_t>(I(c, 0)) + 1)); }
TValue PredFn(TNativeCall& c) { return Int(static_cast<std::int64_t>(static_cast<std::uint64_t>(I(c, 0)) - 1)); }

// ---- numbers

TValue RoundFn(TNativeCall& c) { return Int(ToInt64(std::nearbyint(F(c, 0)))); }
TValue TruncFn(TNativeCall& c) { return Int(ToInt64(std::trunc(F(c, 0)))); }
TValue IntFn(TNativeCall& c) { return Flt(std::trunc(F(c, 0))); }
TValue FracFn(TNativeCall& c) { return Flt(F(c, 0) - std::trunc(F(c, 0))); }
TValue AbsFn(TNativeCall& c) {
    const TValue& v = c.Arg(0).Deref();
    if (v.Tag() == TValueTag::Integer)
        return Int(v.Int() < 0 ? static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(v.Int())) : v.Int());
    return Flt(std::fabs(v.Flt()));
}
TValue SqrFn(TNativeCall& c) {
    const TValue& v = c.Arg(0).Deref();
    if (v.Tag() == TValueTag::Integer)
        return Int(static_cast<std::int64_t>(static_cast<std::uint64_t>(v.Int()) * static_cast<std::uint64_t>(v.Int())));
    return Flt(v.Flt() * v.Flt());
}
TValue SqrtFn(TNativeCall& c) {
    if (F(c, 0) < 0) InvalidOp();
    return Flt(std::sqrt(F(c, 0)));
}
TValue SinFn(TNativeCall& c) { return Flt(Checked(std::sin(F(c, 0)))); }
TValue CosFn(TNativeCall& c) { return Flt(Checked(std::cos(F(c, 0)))); }
TValue ArcTanFn(TNativeCall& c) { return Flt(std::atan(F(c, 0))); }
TValue ExpFn(TNativeCall& c) { return Flt(Checked(std::exp(F(c, 0)))); }
TValue LnFn(TNativeCall& c) {
    if (F(c, 0) <= 0) InvalidOp();
    return Flt(std::log(F(c, 0)));
}
TValue PowerFn(TNativeCall& c) { return Flt(Checked(std::pow(F(c, 0), F(c, 1)))); }
TValue PiFn(TNativeCall&) { return Flt(3.14159265358979323846); }
TValue MinFn(TNativeCall& c) {
    const TValue& a = c.Arg(0).Deref();
    const TValue& b = c.Arg(1).Deref();
    if (a.Tag() == TValueTag::Integer && b.Tag() == TValueTag::Integer) return Int(std::min(a.Int(), b.Int()));
    return Flt(std::min(VarToFloat(a), VarToFloat(b)));
}
TValue MaxFn(TNativeCall& c) {
    const TValue& a = c.Arg(0).Deref();
    const TValue& b = c.Arg(1).Deref();
    if (a.Tag() == TValueTag::Integer && b.Tag() == TValueTag::Integer) return Int(std::max(a.Int(), b.Int()));
    return Flt(std::max(VarToFloat(a), VarToFloat(b)));
}
TValue RandomFn(TNativeCall& c) {
    if (c.Count() == 0) return Flt(std::uniform_real_distribution<double>(0.0, 1.0)(Rng()));
    const std::int64_t n = I(c, 0);
    if (n <= 0) return Int(0);
    return Int(std::uniform_int_distribution<std::int64_t>(0, n - 1)(Rng()));
}
TValue RandomizeFn(TNativeCall&) {
    Rng().seed(std::random_device{}());
    return {};
}

// ---- dates

TValue NowFn(TNativeCall&) { return TValue::DateTime(Now()); }
TValue DateFn(TNativeCall&) { return TValue::DateTime(Date()); }
TValue TimeFn(TNativeCall&) { return TValue::DateTime(Time()); }
TValue DateToStrFn(TNativeCall& c) { return Str(DateToStr(F(c, 0))); }
TValue TimeToStrFn(TNativeCall& c) { return Str(TimeToStr(F(c, 0))); }
TValue DateTimeToStrFn(TNativeCall& c) { return Str(DateTimeToStr(F(c, 0))); }
TValue FormatDateTimeFn(TNativeCall& c) { return Str(FormatDateTime(S(c, 0), F(c, 1))); }
TValue EncodeDateFn(TNativeCall& c) {
    TDateTime d = 0;
    const auto fits = [](std::int64_t v) { return v >= -100000 && v <= 100000; };
    if (!fits(I(c, 0)) || !fits(I(c, 1)) || !fits(I(c, 2)) ||
        !TryEncodeDate(static_cast<int>(I(c, 0)), static_cast<int>(I(c, 1)), static_cast<int>(I(c, 2)), d))
        RaiseConvertError("Invalid argument to date encode");
    return TValue::DateTime(d);
}
TValue EncodeTimeFn(TNativeCall& c) {
    TDateTime t = 0;
    const auto fits = [](std::int64_t v) { return v >= 0 && v <= 100000; };
    if (!fits(I(c, 0)) || !fits(I(c, 1)) || !fits(I(c, 2)) || !fits(I(c, 3)) ||
        !TryEncodeTime(static_cast<int>(I(c, 0)), static_cast<int>(I(c, 1)), static_cast<int>(I(c, 2)),
                       static_cast<int>(I(c, 3)), t))
        RaiseConvertError("Invalid argument to time encode");
    return TValue::DateTime(t);
}
TValue DecodeDateFn(TNativeCall& c) {
    const TDateParts d = DecodeDate(F(c, 0));
    c.Arg(1).Deref().SetInt(d.Year);
    c.Arg(2).Deref().SetInt(d.Month);
    c.Arg(3).Deref().SetInt(d.Day);
    return {};
}
TValue DecodeTimeFn(TNativeCall& c) {
    const TTimeParts t = DecodeTime(F(c, 0));
    c.Arg(1).Deref().SetInt(t.Hour);
    c.Arg(2).Deref().SetInt(t.Minute);
    c.Arg(3).Deref().SetInt(t.Second);
    c.Arg(4).Deref().SetInt(t.MSec);
    return {};
}
TValue DayOfWeekFn(TNativeCall& c) { return Int(DayOfWeek(F(c, 0))); }

// ---- variants

TValue VarTypeFn(TNativeCall& c) { return Int(VarTypeCode(c.Arg(0))); }
TValue VarIsNullFn(TNativeCall& c) { return Bool(c.Arg(0).Deref().Tag() == TValueTag::Null); }
TValue VarIsEmptyFn(TNativeCall& c) { return Bool(c.Arg(0).Deref().Tag() == TValueTag::Unassigned); }
TValue VarIsArrayFn(TNativeCall& c) { return Bool(c.Arg(0).Deref().Tag() == TValueTag::Array); }
TValue VarToStrFn(TNativeCall& c) {
    const TValue& v = c.Arg(0).Deref();
    return v.Tag() == TValueTag::Null ? TValue::EmptyString() : Str(VarToString(v));
}
TValue VarArrayCreateFn(TNativeCall& c) {
    const std::int64_t low = I(c, 0), high = I(c, 1);
    if (high < low - 1 || high - low + 1 > ScriptLimits().MaxArrayLength) return {};
    auto* array = new TArrayObject;
    array->Low = low;
    array->Items.resize(static_cast<std::size_t>(high - low + 1));
    return TValue::Object(TValueTag::Array, array);
}
TValue VarArrayGetItemFn(TNativeCall& c) {
    const TValue& v = c.Arg(0).Deref();
    const std::int64_t i = I(c, 1);
    if (v.Tag() != TValueTag::Array || !v.Array()) return {};
    const std::int64_t at = i - v.Array()->Low;
    if (at < 0 || at >= static_cast<std::int64_t>(v.Array()->Items.size())) return {};
    return v.Array()->Items[static_cast<std::size_t>(at)];
}
TValue VarArraySetItemFn(TNativeCall& c) {
    TValue& v = c.Arg(0).Deref();
    const std::int64_t i = I(c, 1);
    if (v.Tag() != TValueTag::Array || !v.Array()) return {};
    const std::int64_t at = i - v.Array()->Low;
    if (at < 0 || at >= static_cast<std::int64_t>(v.Array()->Items.size())) return {};
    v.MutableArray().Items[static_cast<std::size_t>(at)] = c.Arg(2).Deref();
    return {};
}
TValue VarArrayHighBoundFn(TNativeCall& c) {
    const TValue& v = c.Arg(0).Deref();
    if (v.Tag() != TValueTag::Array) RaiseError("EVariantError", "Variant is not an array");
    return Int(v.Array() ? v.Array()->Low + static_cast<std::int64_t>(v.Array()->Items.size()) - 1 : -1);
}
TValue VarArrayLowBoundFn(TNativeCall& c) {
    const TValue& v = c.Arg(0).Deref();
    if (v.Tag() != TValueTag::Array) RaiseError("EVariantError", "Variant is not an array");
    return Int(v.Array() ? v.Array()->Low : 0);
}

// ---- files

bool g_fileAccess = true;

void CheckFileAccess() {
    if (!g_fileAccess) RaiseError("EInOutError", "File access is disabled");
}

[[noreturn]] void FileError(const std::string& what, const std::string& name) {
    RaiseError("EInOutError", what + " \"" + name + "\"");
}
TValue SaveStringToFileFn(TNativeCall& c) {
    CheckFileAccess();
    const std::string& data = S(c, 1);
    if (!WriteFileBytes(ScriptPathToNative(S(c, 0)), data.data(), data.size())) FileError("Cannot create file", S(c, 0));
    return {};
}
TValue LoadStringFromFileFn(TNativeCall& c) {
    CheckFileAccess();
    TBytes bytes;
    if (!ReadFileBytes(ScriptPathToNative(S(c, 0)), bytes)) FileError("Cannot open file", S(c, 0));
    CheckLength(static_cast<std::int64_t>(bytes.size()));
    return Str(std::string(bytes.begin(), bytes.end()));
}
TValue AppendStringToFileFn(TNativeCall& c) {
    CheckFileAccess();
    const std::string path = ScriptPathToNative(S(c, 0));
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file) FileError("Cannot open file", S(c, 0));
    const std::string& data = S(c, 1);
    const bool ok = std::fwrite(data.data(), 1, data.size(), file) == data.size();
    if (std::fclose(file) != 0 || !ok) FileError("Cannot write file", S(c, 0));
    return {};
}
TValue FileExistsFn(TNativeCall& c) {
    CheckFileAccess();
    std::error_code ec;
    return Bool(fs::is_regular_file(ScriptPathToNative(S(c, 0)), ec));
}
TValue DeleteFileFn(TNativeCall& c) {
    CheckFileAccess();
    std::error_code ec;
    const std::string path = ScriptPathToNative(S(c, 0));
    return Bool(fs::is_regular_file(path, ec) && fs::remove(path, ec));
}
TValue RenameFileFn(TNativeCall& c) {
    CheckFileAccess();
    const std::string from = ScriptPathToNative(S(c, 0)), to = ScriptPathToNative(S(c, 1));
    std::error_code ec;
    if (fs::exists(to, ec)) return Bool(false);
    return Bool(std::rename(from.c_str(), to.c_str()) == 0);
}
TValue ChDirFn(TNativeCall& c) {
    CheckFileAccess();
    if (::chdir(ScriptPathToNative(S(c, 0)).c_str()) != 0) FileError("Cannot change to folder", S(c, 0));
    return {};
}
TValue CreateDirFn(TNativeCall& c) {
    CheckFileAccess();
    std::error_code ec;
    return Bool(fs::create_directory(ScriptPathToNative(S(c, 0)), ec));
}
TValue RemoveDirFn(TNativeCall& c) {
    CheckFileAccess();
    std::error_code ec;
    const std::string path = ScriptPathToNative(S(c, 0));
    return Bool(fs::is_directory(path, ec) && fs::remove(path, ec));
}
TValue GetCurrentDirFn(TNativeCall& c) {
    CheckFileAccess();
    (void)c;
    std::error_code ec;
    return Str(Utf8ToCp1251(fs::current_path(ec).string()));
}
TValue SetCurrentDirFn(TNativeCall& c) {
    CheckFileAccess();
    return Bool(::chdir(ScriptPathToNative(S(c, 0)).c_str()) == 0);
}
TValue FileSearchFn(TNativeCall& c) {
    CheckFileAccess();
    const std::string name = S(c, 0);
    std::error_code ec;
    if (fs::is_regular_file(ScriptPathToNative(name), ec)) return Str(name);
    std::string list = S(c, 1);
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find_first_of(";:", start);
        if (end == std::string::npos) end = list.size();
        std::string dir = list.substr(start, end - start);
        if (!dir.empty()) {
            if (dir.back() != '/') dir += '/';
            if (fs::is_regular_file(ScriptPathToNative(dir + name), ec)) return Str(dir + name);
        }
        start = end + 1;
    }
    return TValue::EmptyString();
}
std::size_t LastSeparator(const std::string& s) { return s.find_last_of('/'); }
TValue ExtractFileDriveFn(TNativeCall&) { return TValue::EmptyString(); }
TValue ExtractFilePathFn(TNativeCall& c) {
    const std::string& s = S(c, 0);
    const std::size_t at = LastSeparator(s);
    return at == std::string::npos ? TValue::EmptyString() : Str(s.substr(0, at + 1));
}
TValue ExtractFileDirFn(TNativeCall& c) {
    const std::string& s = S(c, 0);
    const std::size_t at = LastSeparator(s);
    if (at == std::string::npos) return TValue::EmptyString();
    return Str(at == 0 ? std::string("/") : s.substr(0, at));
}
TValue ExtractFileNameFn(TNativeCall& c) {
    const std::string& s = S(c, 0);
    const std::size_t at = LastSeparator(s);
    return Str(at == std::string::npos ? s : s.substr(at + 1));
}
std::size_t ExtensionAt(const std::string& s) {
    const std::size_t dot = s.find_last_of('.');
    const std::size_t sep = LastSeparator(s);
    if (dot == std::string::npos || (sep != std::string::npos && dot < sep)) return std::string::npos;
    return dot;
}
TValue ExtractFileExtFn(TNativeCall& c) {
    const std::string& s = S(c, 0);
    const std::size_t dot = ExtensionAt(s);
    return dot == std::string::npos ? TValue::EmptyString() : Str(s.substr(dot));
}
TValue ChangeFileExtFn(TNativeCall& c) {
    const std::string& s = S(c, 0);
    const std::size_t dot = ExtensionAt(s);
    return Str((dot == std::string::npos ? s : s.substr(0, dot)) + S(c, 1));
}

const TBuiltinDef kBuiltins[] = {
    {"IntToStr", "I", 1, 'S', true, IntToStrFn},
    {"StrToInt", "S", 1, 'I', true, StrToIntFn},
    {"StrToIntDef", "SI", 2, 'I', true, StrToIntDefFn},
    {"FloatToStr", "F", 1, 'S', true, FloatToStrFn},
    {"StrToFloat", "S", 1, 'F', true, StrToFloatFn},
    {"StrToFloatDef", "SF", 2, 'F', true, StrToFloatDefFn},
    {"IntToHex", "II", 1, 'S', true, IntToHexFn},
    {"BoolToStr", "BB", 1, 'S', true, BoolToStrFn},
    {"Format", "SO", 2, 'S', true, FormatFn},
    {"Copy", "SII", 2, 'S', true, CopyFn},
    {"Pos", "SS", 2, 'I', true, PosFn},
    {"Length", "L", 1, 'I', true, LengthFn},
    {"High", "L", 1, 'I', true, HighFn},
    {"Low", "L", 1, 'I', true, LowFn},
    {"SetLength", "&RI", 2, '-', false, SetLengthFn},
    {"Delete", "&SII", 3, '-', false, DeleteFn},
    {"Insert", "S&SI", 3, '-', false, InsertFn},
    {"UpperCase", "S", 1, 'S', true, UpperCaseFn},
    {"LowerCase", "S", 1, 'S', true, LowerCaseFn},
    {"AnsiUpperCase", "S", 1, 'S', true, AnsiUpperCaseFn},
    {"AnsiLowerCase", "S", 1, 'S', true, AnsiLowerCaseFn},
    {"Trim", "S", 1, 'S', true, TrimFn},
    {"TrimLeft", "S", 1, 'S', true, TrimLeftFn},
    {"TrimRight", "S", 1, 'S', true, TrimRightFn},
    {"StringReplace", "SSST", 4, 'S', true, StringReplaceFn},
    {"StringOfChar", "SI", 2, 'S', true, StringOfCharFn},
    {"QuotedStr", "S", 1, 'S', true, QuotedStrFn},
    {"Chr", "I", 1, 'S', true, ChrFn},
    {"Ord", "*", 1, 'I', true, OrdFn},
    {"Inc", "&II", 1, '-', false, IncFn},
    {"Dec", "&II", 1, '-', false, DecFn},
    {"Succ", "I", 1, 'I', true, SuccFn},
    {"Pred", "I", 1, 'I', true, PredFn},
    {"Round", "F", 1, 'I', true, RoundFn},
    {"Trunc", "F", 1, 'I', true, TruncFn},
    {"Int", "F", 1, 'F', true, IntFn},
    {"Frac", "F", 1, 'F', true, FracFn},
    {"Abs", "N", 1, 'N', true, AbsFn},
    {"Sqr", "N", 1, 'N', true, SqrFn},
    {"Sqrt", "F", 1, 'F', true, SqrtFn},
    {"Sin", "F", 1, 'F', true, SinFn},
    {"Cos", "F", 1, 'F', true, CosFn},
    {"ArcTan", "F", 1, 'F', true, ArcTanFn},
    {"Exp", "F", 1, 'F', true, ExpFn},
    {"Ln", "F", 1, 'F', true, LnFn},
    {"Power", "FF", 2, 'F', true, PowerFn},
    {"Pi", "", 0, 'F', true, PiFn},
    {"Min", "NN", 2, 'N', true, MinFn},
    {"Max", "NN", 2, 'N', true, MaxFn},
    {"Random", "I", 0, 'R', false, RandomFn},
    {"Randomize", "", 0, '-', false, RandomizeFn},
    {"Now", "", 0, 'D', false, NowFn},
    {"Date", "", 0, 'D', false, DateFn},
    {"Time", "", 0, 'D', false, TimeFn},
    {"DateToStr", "D", 1, 'S', false, DateToStrFn},
    {"TimeToStr", "D", 1, 'S', false, TimeToStrFn},
    {"DateTimeToStr", "D", 1, 'S', false, DateTimeToStrFn},
    {"FormatDateTime", "SD", 2, 'S', false, FormatDateTimeFn},
    {"EncodeDate", "III", 3, 'D', true, EncodeDateFn},
    {"EncodeTime", "IIII", 4, 'D', true, EncodeTimeFn},
    {"DecodeDate", "D&I&I&I", 4, '-', false, DecodeDateFn},
    {"DecodeTime", "D&I&I&I&I", 5, '-', false, DecodeTimeFn},
    {"DayOfWeek", "D", 1, 'I', true, DayOfWeekFn},
    {"VarType", "V", 1, 'I', true, VarTypeFn},
    {"VarIsNull", "V", 1, 'B', true, VarIsNullFn},
    {"VarIsEmpty", "V", 1, 'B', true, VarIsEmptyFn},
    {"VarIsArray", "V", 1, 'B', true, VarIsArrayFn},
    {"VarToStr", "V", 1, 'S', true, VarToStrFn},
    {"VarArrayCreate", "II", 2, 'V', false, VarArrayCreateFn},
    {"VarArrayGetItem", "VI", 2, 'V', false, VarArrayGetItemFn},
    {"VarArraySetItem", "&VIV", 3, '-', false, VarArraySetItemFn},
    {"VarArrayHighBound", "V", 1, 'I', false, VarArrayHighBoundFn},
    {"VarArrayLowBound", "V", 1, 'I', false, VarArrayLowBoundFn},
    {"SaveStringToFile", "SS", 2, '-', false, SaveStringToFileFn},
    {"LoadStringFromFile", "S", 1, 'S', false, LoadStringFromFileFn},
    {"AppendStringToFile", "SS", 2, '-', false, AppendStringToFileFn},
    {"FileExists", "S", 1, 'B', false, FileExistsFn},
    {"DeleteFile", "S", 1, 'B', false, DeleteFileFn},
    {"RenameFile", "SS", 2, 'B', false, RenameFileFn},
    {"ChDir", "S", 1, '-', false, ChDirFn},
    {"CreateDir", "S", 1, 'B', false, CreateDirFn},
    {"RemoveDir", "S", 1, 'B', false, RemoveDirFn},
    {"GetCurrentDir", "", 0, 'S', false, GetCurrentDirFn},
    {"SetCurrentDir", "S", 1, 'B', false, SetCurrentDirFn},
    {"FileSearch", "SS", 2, 'S', false, FileSearchFn},
    {"ExtractFileDrive", "S", 1, 'S', true, ExtractFileDriveFn},
    {"ExtractFileDir", "S", 1, 'S', true, ExtractFileDirFn},
    {"ExtractFileName", "S", 1, 'S', true, ExtractFileNameFn},
    {"ExtractFilePath", "S", 1, 'S', true, ExtractFilePathFn},
    {"ExtractFileExt", "S", 1, 'S', true, ExtractFileExtFn},
    {"ChangeFileExt", "SS", 2, 'S', true, ChangeFileExtFn},
};

}  // namespace

std::string ScriptPathToNative(const std::string& name) { return Cp1251ToUtf8(name); }

void SetScriptFileAccess(bool enabled) { g_fileAccess = enabled; }

const TBuiltinDef* FindBuiltin(std::string_view name) {
    static const std::unordered_map<std::string, const TBuiltinDef*> index = [] {
        std::unordered_map<std::string, const TBuiltinDef*> m;
        for (const TBuiltinDef& d : kBuiltins) m.emplace(UpperCaseAscii(d.Name), &d);
        return m;
    }();
    const auto it = index.find(UpperCaseAscii(name));
    return it == index.end() ? nullptr : it->second;
}

const TBuiltinConstant* FindBuiltinConstant(std::string_view name) {
    static const std::vector<TBuiltinConstant> constants = {
        {"True", 'B', TValue::Boolean(true)},
        {"False", 'B', TValue::Boolean(false)},
        {"Null", 'V', TValue::Null()},
        {"Unassigned", 'V', TValue()},
        {"MaxInt", 'I', TValue::Integer(2147483647)},
        {"varEmpty", 'I', TValue::Integer(0)},
        {"varNull", 'I', TValue::Integer(1)},
        {"varSmallint", 'I', TValue::Integer(2)},
        {"varInteger", 'I', TValue::Integer(3)},
        {"varSingle", 'I', TValue::Integer(4)},
        {"varDouble", 'I', TValue::Integer(5)},
        {"varCurrency", 'I', TValue::Integer(6)},
        {"varDate", 'I', TValue::Integer(7)},
        {"varBoolean", 'I', TValue::Integer(11)},
        {"varVariant", 'I', TValue::Integer(12)},
        {"varInt64", 'I', TValue::Integer(20)},
        {"varString", 'I', TValue::Integer(0x100)},
        {"varArray", 'I', TValue::Integer(0x2000)},
        {"rfReplaceAll", 'I', TValue::Integer(0)},
        {"rfIgnoreCase", 'I', TValue::Integer(1)},
    };
    for (const TBuiltinConstant& c : constants)
        if (SameTextAscii(c.Name, name)) return &c;
    return nullptr;
}

}  // namespace mirvex::script
