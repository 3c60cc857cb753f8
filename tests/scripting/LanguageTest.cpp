// The language tests: each script under language/ carries what it must
// print ("// expect: text"), the compile errors it must give ("// expect
// error: text" on the line of the error) or the run-time error that must
// stop it ("// expect runtime error: text").
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "scripting/ScriptEngine.h"
#include "util/Cp1251.h"

namespace mirvex::script {
namespace {

namespace fs = std::filesystem;

struct Expectations {
    std::vector<std::string> Output;
    std::vector<std::pair<int, std::string>> CompileErrors;
    std::optional<std::pair<int, std::string>> RuntimeError;
};

Expectations Read(const std::string& text) {
    Expectations e;
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const auto take = [&](const std::string& marker) -> std::optional<std::string> {
            const std::size_t at = line.find(marker);
            if (at == std::string::npos) return std::nullopt;
            return line.substr(at + marker.size());
        };
        if (auto m = take("// expect runtime error: ")) e.RuntimeError = {number, *m};
        else if (auto m = take("// expect error: ")) e.CompileErrors.emplace_back(number, *m);
        else if (auto m = take("// expect: ")) e.Output.push_back(*m);
    }
    return e;
}

// The console the language tests print through.
struct Console {
    THostUnit Unit{"Console"};
    std::vector<std::string> Lines;
    std::string Pending;

    Console() {
        THostFunction writeln;
        writeln.Name = "WriteLn";
        writeln.Variadic = true;
        writeln.Fn = [this](TNativeCall& c) {
            for (std::size_t i = 0; i < c.Count(); ++i) Pending += VarToString(c.Arg(i));
            Lines.push_back(Cp1251ToUtf8(Pending));
            Pending.clear();
            return TValue();
        };
        Unit.AddFunction(writeln);
        THostFunction write = writeln;
        write.Name = "Write";
        write.Fn = [this](TNativeCall& c) {
            for (std::size_t i = 0; i < c.Count(); ++i) Pending += VarToString(c.Arg(i));
            return TValue();
        };
        Unit.AddFunction(write);
    }
};

class LanguageTest : public ::testing::TestWithParam<std::string> {};

TEST_P(LanguageTest, Script) {
    const fs::path path = fs::path(MIRVEX_SCRIPT_TESTS) / GetParam();
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string source = ss.str();
    const Expectations expected = Read(source);

    Console console;
    auto program = CompileScript(Utf8ToCp1251(source), {&console.Unit});
    if (!expected.CompileErrors.empty()) {
        ASSERT_TRUE(program->HasErrors()) << "no compile error";
        for (const auto& [line, message] : expected.CompileErrors) {
            const bool found = std::any_of(program->Errors().begin(), program->Errors().end(), [&](const TScriptError& e) {
                return e.Line == line && Cp1251ToUtf8(e.Message).find(message) != std::string::npos;
            });
            EXPECT_TRUE(found) << "line " << line << ": no error '" << message << "'";
        }
        for (const TScriptError& e : program->Errors()) {
            const bool wanted = std::any_of(expected.CompileErrors.begin(), expected.CompileErrors.end(),
                                            [&](const auto& x) { return x.first == e.Line; });
            EXPECT_TRUE(wanted) << "unexpected error " << Cp1251ToUtf8(e.Format(GetParam()));
        }
        EXPECT_TRUE(program->Run(nullptr));
        EXPECT_TRUE(console.Lines.empty()) << "a program with errors ran";
        return;
    }
    for (const TScriptError& e : program->Errors()) ADD_FAILURE() << Cp1251ToUtf8(e.Format(GetParam()));
    ASSERT_FALSE(program->HasErrors());
    TScriptError error;
    const bool ok = program->Run(nullptr, &error);
    if (expected.RuntimeError) {
        ASSERT_FALSE(ok) << "no run-time error";
        EXPECT_EQ(error.Line, expected.RuntimeError->first);
        EXPECT_NE(Cp1251ToUtf8(error.Message).find(expected.RuntimeError->second), std::string::npos)
            << Cp1251ToUtf8(error.Message);
    } else {
        EXPECT_TRUE(ok) << Cp1251ToUtf8(error.Format(GetParam()));
    }
    EXPECT_EQ(console.Lines, expected.Output);
}

std::vector<std::string> Scripts() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(MIRVEX_SCRIPT_TESTS))
        if (entry.path().extension() == ".pas") names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Scripts, LanguageTest, ::testing::ValuesIn(Scripts()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param.substr(0, info.param.size() - 4);
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
}  // namespace mirvex::script
