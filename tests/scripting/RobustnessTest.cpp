// Hostile scripts: deep nesting, long texts and runaway recursion end in
// errors, never in a crash.
#include <gtest/gtest.h>

#include "scripting/ScriptEngine.h"

namespace mirvex::script {
namespace {

std::string FirstError(const TScriptProgram& p) { return p.Errors().empty() ? "" : p.Errors().front().Message; }

TEST(RobustnessTest, DeepNestingIsACompileError) {
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"parentheses", "var i: Integer; i := " + std::string(100000, '(') + "1" + std::string(100000, ')') + ";"},
        {"begin blocks", std::string(50000, ' ') + [] {
             std::string s;
             for (int i = 0; i < 20000; ++i) s += "begin ";
             for (int i = 0; i < 20000; ++i) s += "end ";
             return s;
         }()},
        {"if chains", [] {
             std::string s = "var i: Integer; ";
             for (int i = 0; i < 20000; ++i) s += "if i = 0 then ";
             return s + "i := 1;";
         }()},
        {"not chains", "var b: Boolean; b := " + [] {
             std::string s;
             for (int i = 0; i < 50000; ++i) s += "not ";
             return s;
         }() + "True;"},
        {"index chains", "var s: String; s := s" + [] {
             std::string t;
             for (int i = 0; i < 50000; ++i) t += "[1]";
             return t;
         }() + ";"},
    };
    for (const auto& c : cases) {
        auto p = CompileScript(c.text, {});
        ASSERT_TRUE(p->HasErrors()) << c.name;
        const std::string e = FirstError(*p);
        EXPECT_TRUE(e.find("too deep") != std::string::npos || e.find("too long") != std::string::npos)
            << c.name << ": " << e;
    }
}

TEST(RobustnessTest, LongExpressionsAndLongScripts) {
    std::string sum = "var i: Integer; i := 0";
    for (int k = 0; k < 100000; ++k) sum += " + 1";
    auto p = CompileScript(sum + ";", {});
    ASSERT_TRUE(p->HasErrors());
    EXPECT_NE(FirstError(*p).find("too long"), std::string::npos) << FirstError(*p);

    std::string shortSum = "var i: Integer; i := 0";
    for (int k = 0; k < 1000; ++k) shortSum += " + i";
    EXPECT_FALSE(CompileScript(shortSum + ";", {})->HasErrors());

    std::string many = "var i: Integer;\n";
    for (int k = 0; k < 20000; ++k) many += "i := i + " + std::to_string(k % 7) + ";\n";
    auto longScript = CompileScript(many, {});
    ASSERT_FALSE(longScript->HasErrors()) << FirstError(*longScript);
    EXPECT_TRUE(longScript->Run(nullptr));
}

TEST(RobustnessTest, RunawayRecursionStopsWithAnError) {
    auto p = CompileScript("procedure P(n: Integer); begin P(n + 1); end; P(0);", {});
    ASSERT_FALSE(p->HasErrors());
    TScriptError error;
    EXPECT_FALSE(p->Run(nullptr, &error));
    EXPECT_EQ(error.Message, "Stack overflow");

    auto caught = CompileScript(
        "var depth: Integer; procedure P; begin Inc(depth); P; end;\n"
        "try P; except on E: EStackOverflow do depth := -depth; end;\n"
        "if depth >= 0 then raise Exception.Create('not caught');",
        {});
    ASSERT_FALSE(caught->HasErrors()) << FirstError(*caught);
    EXPECT_TRUE(caught->Run(nullptr, &error)) << error.Message;
}

TEST(RobustnessTest, StepLimitEndsEndlessLoops) {
    auto p = CompileScript("var i: Integer; while True do Inc(i);", {});
    TScriptError error;
    EXPECT_FALSE(p->Run(nullptr, &error, 100000));
    EXPECT_NE(error.Message.find("too long"), std::string::npos);
    // A script cannot catch the step limit.
    auto q = CompileScript("var i: Integer; try repeat Inc(i) until False; except i := 0; end;", {});
    EXPECT_FALSE(q->Run(nullptr, &error, 1000));
}

TEST(RobustnessTest, HugeSizesAreRefused) {
    auto big = CompileScript("var a: array [1..100000000] of Integer;", {});
    ASSERT_TRUE(big->HasErrors());
    EXPECT_NE(FirstError(*big).find("too large"), std::string::npos);
    auto grow = CompileScript("var s: String; SetLength(s, 9000000000);", {});
    ASSERT_FALSE(grow->HasErrors());
    TScriptError error;
    EXPECT_FALSE(grow->Run(nullptr, &error));
    EXPECT_EQ(error.Message, "Out of memory");
}

}  // namespace
}  // namespace mirvex::script
