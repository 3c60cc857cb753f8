// mirvex-build script: output, --var, and the exit statuses of errors.
#include <gtest/gtest.h>

#include "ToolTest.h"

namespace mirvex {
namespace {

using ScriptToolTest = TToolTest;

TEST_F(ScriptToolTest, RunsAndPrints) {
    const std::string path = WriteText("ok.pas", "var i: Integer;\nbegin\n  for i := 1 to 3 do Write(i);\n"
                                                 "  WriteLn;\n  PrintLn('Привет, ' + Name);\n  WriteLn(N * 2, ' ', F);\nend.\n");
    const RunResult r = Run("script '" + path + "' --var Name=мир --var N=21 --var F=1.5");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "123\nПривет, мир\n42 1,5\n");
}

TEST_F(ScriptToolTest, CompileErrorsExitWithTwo) {
    const std::string path = WriteText("bad.pas", "var i: Integer;\ni := Missing;\ni := 'x';\n");
    const RunResult r = Run("script '" + path + "'");
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find(path + ":2:6: undeclared identifier: 'Missing'"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(path + ":3:"), std::string::npos) << r.err;
}

TEST_F(ScriptToolTest, RunTimeErrorsExitWithThree) {
    const std::string path = WriteText("fail.pas", "PrintLn('before');\nraise Exception.Create('ошибка');\n");
    const RunResult r = Run("script '" + path + "'");
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.out, "before\n");
    EXPECT_NE(r.err.find(":2:1: ошибка"), std::string::npos) << r.err;
}

TEST_F(ScriptToolTest, Usage) {
    EXPECT_EQ(Run("script").status, 2);
    EXPECT_EQ(Run("script x.pas --var broken").status, 2);
    EXPECT_EQ(Run("script '" + (m_dir / "missing.pas").string() + "'").status, 1);
}

}  // namespace
}  // namespace mirvex
