// The parser: tokens to a syntax tree. It reports every syntax error it
// finds (resynchronising at the next statement) in the form
// "message near 'token'".
#pragma once

#include <string_view>

#include "Ast.h"
#include "ScriptError.h"

namespace mirvex::script {

// Parses a whole script. With errors the tree is incomplete and must not
// be compiled further.
ast::TScript Parse(std::string_view text, TScriptErrors& errors);

}  // namespace mirvex::script
