// Script engine speed: a typical hook compiled and run, integer loops and
// string appends, with Lua 5.4 timed on the same loop for comparison.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "scripting/ScriptEngine.h"
#include "scripting/ScriptsDataUnit.h"
#include "util/Cp1251.h"

namespace mirvex {
namespace {

using namespace mirvex::script;

// About a hundred lines of what an after-answer hook does.
const char* kHook = R"(
const Bonus = 2;
var i, right, wrong, points: Integer;
var text: String;
var ratio: Float;

function Percent(part, whole: Integer): Float;
begin
  if whole = 0 then
    Result := 0
  else
    Result := part * 100 / whole;
end;

function MarkText(p: Float): String;
begin
  if p >= 90 then Result := 'Отлично'
  else if p >= 75 then Result := 'Хорошо'
  else if p >= 50 then Result := 'Удовлетворительно'
  else Result := 'Неудовлетворительно';
end;

procedure Remember(const what: String);
begin
  if SysSesstionRemarks <> '' then
    SysSesstionRemarks := SysSesstionRemarks + '; ';
  SysSesstionRemarks := SysSesstionRemarks + what;
end;

begin
  right := 0;
  wrong := 0;
  points := SysCurUserPoints;
  case SysAnswerReason of
    0: text := 'переход';
    1: text := 'ответ';
    2, 3: text := 'время';
  else
    text := '?';
  end;
  if SysCurQuestUserPoints >= SysCurQuestMaxPoints then
    Inc(right)
  else
    Inc(wrong);
  for i := 1 to 10 do
    if i mod 3 = 0 then
      points := points + Bonus
    else
      points := points - 1;
  ratio := Percent(SysCurUserPoints, SysMaxAvailPoints);
  SysCurrentMarkString := MarkText(ratio);
  if ratio < 30 then
    SysCurrentMarkColor := $0000FF
  else if ratio < 60 then
    SysCurrentMarkColor := $00A5FF
  else
    SysCurrentMarkColor := $008000;
  if (SysSkippedQuestsCount > 3) and SysUseSkipQuests then
  begin
    SysUseSkipQuests := False;
    Remember('пропуски запрещены');
  end;
  if wrong > right then
    Remember(Format('ошибок: %d из %d', [wrong, right + wrong]));
  if Pos('время', text) > 0 then
    Remember('время вышло на вопросе ' + IntToStr(SysCurQuestionIndex + 1));
  try
    points := points div (SysTotalAskQuestsCount + 1);
  except
    on E: EDivByZero do points := 0;
  end;
  SysCurQuestPrio := points;
  if SysCurQuestionIndex = SysTotalAskQuestsCount - 1 then
    SysSesstionRemarks := SysSesstionRemarks + ' (последний вопрос)';
  if SysSesstionRemarks = '' then
    SysSesstionRemarks := UpperCase(Copy(text, 1, 1));
end.
)";

void BM_HookCompileAndRun(benchmark::State& state) {
    TDataModuleScripts host;
    host.SetSystemValue("SysMaxAvailPoints", TVariant(40));
    host.SetSystemValue("SysCurUserPoints", TVariant(31));
    const std::string hook = Cp1251(kHook);
    for (auto _ : state) {
        host.SetSystemValue("SysSesstionRemarks", TVariant(std::string()));
        host.RunScript(nullptr, hook);
    }
    if (host.LastError()) state.SkipWithError(host.LastError()->Message.c_str());
}
BENCHMARK(BM_HookCompileAndRun)->Unit(benchmark::kMicrosecond);

void RunProgramOnce(benchmark::State& state, const std::string& text) {
    auto program = CompileScript(text, {});
    if (program->HasErrors()) {
        state.SkipWithError(program->Errors().front().Message.c_str());
        return;
    }
    for (auto _ : state) {
        TScriptError error;
        if (!program->Run(nullptr, &error)) state.SkipWithError(error.Message.c_str());
    }
}

void BM_IntegerLoop10M(benchmark::State& state) {
    RunProgramOnce(state, "var i, s: Integer; begin s := 0; for i := 1 to 10000000 do s := s + i; end.");
}
BENCHMARK(BM_IntegerLoop10M)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_StringAppend1M(benchmark::State& state) {
    RunProgramOnce(state, "var s: String; i: Integer; begin for i := 1 to 1000000 do s := s + 'x'; "
                          "if Length(s) <> 1000000 then raise Exception.Create('length'); end.");
}
BENCHMARK(BM_StringAppend1M)->Unit(benchmark::kMillisecond)->Iterations(5);

// Lua 5.4 on the same loop, timed as a child process minus the time of
// an empty Lua run.
double LuaSeconds(const char* code) {
    const auto time = [](const std::string& command) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) return -1.0;
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    const double empty = time("lua5.4 -e '' >/dev/null 2>&1");
    const double full = time(std::string("lua5.4 -e '") + code + "' >/dev/null 2>&1");
    return empty < 0 || full < 0 ? -1 : full - empty;
}

void BM_Lua54IntegerLoop10M(benchmark::State& state) {
    for (auto _ : state) {
        const double seconds = LuaSeconds("local s = 0 for i = 1, 10000000 do s = s + i end");
        if (seconds < 0) {
            state.SkipWithError("lua5.4 is not installed");
            break;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_Lua54IntegerLoop10M)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace mirvex
