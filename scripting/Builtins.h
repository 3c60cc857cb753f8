// The standard routines every script can call, described by a signature
// string that the checker applies.
//
// Parameter letters (a leading '&' makes it a var parameter):
//   I Integer   F Float (Integer accepted)   D DateTime (numbers accepted)
//   S String    B Boolean   V Variant (anything)   N Integer or Float
//   L string or array   R string or dynamic array   A array
//   O open array of values ([a, b] or an array)   T set   * any ordinal
// Result letters: as above, '-' for none, 'N' Integer when every N
// argument is an Integer and Float otherwise, 'R' Integer with an
// argument and Float without (Random).
#pragma once

#include <string>
#include <string_view>

#include "Nodes.h"

namespace mirvex::script {

using TBuiltinFn = TValue (*)(TNativeCall&);

struct TBuiltinDef {
    const char* Name;
    const char* Params;
    int MinArgs;
    char Result;
    bool Pure;  // evaluated at compile time when all arguments are constant
    TBuiltinFn Fn;
};

// Null when `name` (letter case ignored) is not a standard routine.
const TBuiltinDef* FindBuiltin(std::string_view name);

// Named constants of the standard library (True, False, Null, varInteger ...).
struct TBuiltinConstant {
    const char* Name;
    char Type;
    TValue Value;
};
const TBuiltinConstant* FindBuiltinConstant(std::string_view name);

// Switches the file functions off for the whole process (they then raise
// EInOutError): the fuzzer runs arbitrary scripts on a real machine.
void SetScriptFileAccess(bool enabled);

// A native path from a script's file name (code page 1251 to UTF-8).
std::string ScriptPathToNative(const std::string& name);

}  // namespace mirvex::script
