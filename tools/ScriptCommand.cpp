// mirvex-build script FILE [--var NAME=VALUE ...]: compiles and runs a
// script with the standard routines, PrintLn and WriteLn.
#include <iostream>
#include <map>
#include <memory>

#include "Commands.h"
#include "scripting/ScriptEngine.h"
#include "util/Cp1251.h"
#include "util/Stream.h"
#include "util/Strings.h"

namespace mirvex::tools {
namespace {

using namespace mirvex::script;

// Script files written on this platform are UTF-8; files from a package
// are code page 1251. Valid UTF-8 with non-ASCII bytes is taken as UTF-8.
std::string SourceText(const TBytes& bytes) {
    const std::string raw(bytes.begin(), bytes.end());
    bool ascii = true;
    for (unsigned char c : raw) ascii = ascii && c < 0x80;
    if (ascii) return raw;
    if (Cp1251ToUtf8(Utf8ToCp1251(raw)) == raw) return Utf8ToCp1251(raw);
    return raw;
}

int Usage() {
    std::cerr << "usage: mirvex-build script FILE [--var NAME=VALUE ...]\n";
    return 2;
}

}  // namespace

int ScriptCommand(const TArgs& args) {
    std::string path;
    std::vector<std::pair<std::string, std::string>> vars;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--var" && i + 1 < args.size()) {
            const std::string& spec = args[++i];
            const std::size_t eq = spec.find('=');
            if (eq == std::string::npos || eq == 0) return Usage();
            vars.emplace_back(spec.substr(0, eq), Utf8ToCp1251(spec.substr(eq + 1)));
        } else if (path.empty() && !args[i].starts_with("--")) {
            path = args[i];
        } else {
            return Usage();
        }
    }
    if (path.empty()) return Usage();
    TBytes bytes;
    if (!ReadFileBytes(path, bytes)) {
        std::cerr << "mirvex-build script: cannot read " << path << '\n';
        return 1;
    }

    THostUnit console("Console");
    THostFunction println;
    println.Name = "PrintLn";
    println.Params = {{"s", "String", false}};
    println.Fn = [](TNativeCall& c) {
        std::cout << Cp1251ToUtf8(c.Arg(0).Deref().Str()) << '\n';
        return TValue();
    };
    console.AddFunction(println);
    THostFunction writeln;
    writeln.Name = "WriteLn";
    writeln.Variadic = true;
    writeln.Fn = [](TNativeCall& c) {
        std::string line;
        for (std::size_t i = 0; i < c.Count(); ++i) line += VarToString(c.Arg(i));
        std::cout << Cp1251ToUtf8(line) << '\n';
        return TValue();
    };
    console.AddFunction(writeln);
    THostFunction write = writeln;
    write.Name = "Write";
    write.Fn = [](TNativeCall& c) {
        std::string text;
        for (std::size_t i = 0; i < c.Count(); ++i) text += VarToString(c.Arg(i));
        std::cout << Cp1251ToUtf8(text);
        return TValue();
    };
    console.AddFunction(write);

    // --var values live here; the script reads and writes them in place.
    auto storage = std::make_shared<std::map<std::string, TValue>>();
    for (const auto& [name, text] : vars) {
        THostVariable v;
        v.Name = name;
        double d = 0;
        if (auto i = TryStrToInt64(text)) {
            v.TypeName = "Integer";
            (*storage)[name] = TValue::Integer(*i);
        } else if (ScriptTryStrToFloat(text, d)) {
            v.TypeName = "Float";
            (*storage)[name] = TValue::Float(d);
        } else {
            v.TypeName = "String";
            (*storage)[name] = TValue::String(text);
        }
        v.Read = [storage, name = name] { return (*storage)[name]; };
        v.Write = [storage, name = name](const TValue& value) { (*storage)[name] = value; };
        console.AddVariable(std::move(v));
    }

    auto program = CompileScript(SourceText(bytes), {&console});
    if (program->HasErrors()) {
        for (const TScriptError& e : program->Errors()) std::cerr << Cp1251ToUtf8(e.Format(path)) << '\n';
        return 2;
    }
    TScriptError error;
    std::cout.flush();
    if (!program->Run(nullptr, &error)) {
        std::cout.flush();
        std::cerr << Cp1251ToUtf8(error.Format(path)) << '\n';
        return 3;
    }
    return 0;
}

}  // namespace mirvex::tools
