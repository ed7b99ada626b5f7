#include <gtest/gtest.h>

#include <cctype>
#include <climits>

#include "talk/condition_compiler.h"
#include "talk/statement_compiler.h"
#include "tests/support/captures.h"
#include "tests/talk/talk_fixtures.h"

namespace {

using talktest::CaptureStdout;
using talktest::Declare;
using talktest::SysCall;
using talktest::SysRecorder;
using talktest::ValueOf;

struct ConditionCase {
  const char* text;
  std::vector<std::pair<std::string, int>> vars;
  int expected;
};

TEST(ConditionLanguage, EvaluatesWithItsPrecedenceAndTruthRules) {
  const ConditionCase cases[] = {
      {"2 && 1", {}, 0},  // only the value 1 is true for the logical operators
      {"!2", {}, 1},
      {"!1", {}, 0},
      {"(x == 3) && (y == 4)", {{"x", 3}, {"y", 4}}, 1},
      // && and || share one level, grouped from the left: (a || b) && c.
      {"a || b && c", {{"a", 1}, {"b", 0}, {"c", 0}}, 0},
      {"a && b || c", {{"a", 0}, {"b", 1}, {"c", 1}}, 1},
      // comparisons bind tighter than == and !=: (a < b) == c.
      {"a < b == c", {{"a", 1}, {"b", 2}, {"c", 1}}, 1},
      // ! binds tightest: (!a) == b.
      {"!a == b", {{"a", 3}, {"b", 0}}, 0},
      {"x == -1", {{"x", -1}}, 1},
      {"x != +5", {{"x", 5}}, 0},
      {"x >= 10 && x <= 20 && x > 9 && x < 21", {{"x", 10}}, 1},
      {"x,;\n>\t0", {{"x", 1}}, 1},  // separators are blanks
      {"-2147483648 < 2147483647", {}, 1},
  };
  for (const auto& c : cases) {
    CBaseTalkPlayer player;
    for (const auto& [name, value] : c.vars) Declare(player, name, value);
    ExprPtr condition = CompileCondition(c.text, player);
    ASSERT_TRUE(condition) << c.text;
    EXPECT_EQ(condition.Evaluate(), c.expected) << c.text;
  }
}

TEST(ConditionLanguage, SysCallsRunOnEveryEvaluationWithoutShortCut) {
  SysRecorder sys;
  sys.answers["ITEM3_12"] = 1;
  sys.answers["ATTR6"] = 20;
  CBaseTalkPlayer player;
  Declare(player, "gold", 150);

  struct Case {
    const char* text;
    int expected;
    std::vector<SysCall> calls;
  } cases[] = {
      {"0 || sys(q ITEM3_12)", 1, {{SYSMODE_GET, "ITEM3_12", 0}}},
      {"0 && sys(e AUTOPT5)", 0, {{SYSMODE_DO, "AUTOPT5", 0}}},
      {"gold >= 100 && sys(q FLAG12) == 0", 1, {{SYSMODE_GET, "FLAG12", 0}}},
      {"Sys(Q ATTR6) > 10", 1, {{SYSMODE_GET, "ATTR6", 0}}},
      {"sys(s FLAG3 gold)", 0, {{SYSMODE_SET, "FLAG3", 150}}},
      {"sys(1 FLAG3 7)", 0, {{SYSMODE_SET, "FLAG3", 7}}},
      {"sys(E X)", 0, {{SYSMODE_DO, "X", 0}}},
      {"sys(z X)", 0, {{-1, "X", 0}}},  // an unknown mode letter: a mode no procedure serves
  };
  for (const auto& c : cases) {
    ExprPtr condition = CompileCondition(c.text, player);
    ASSERT_TRUE(condition) << c.text;
    for (int run = 0; run < 2; ++run) {
      sys.calls.clear();
      EXPECT_EQ(condition.Evaluate(), c.expected) << c.text;
      EXPECT_EQ(sys.calls, c.calls) << c.text;
    }
  }
}

TEST(ConditionLanguage, RejectedCharactersAreReportedAndSkipped) {
  SysRecorder sys;
  testsupport::DebugTraceCapture trace;
  CBaseTalkPlayer player;
  ExprPtr condition = CompileCondition("sys(q +ATTR6)", player);
  ASSERT_TRUE(condition);
  condition.Evaluate();
  EXPECT_EQ(sys.calls, (std::vector<SysCall>{{SYSMODE_GET, "ATTR6", 0}}));
  EXPECT_TRUE(trace.Contains("Unknown token +"));
}

TEST(ConditionLanguage, UndeclaredVariableIsTheConstantZero) {
  testsupport::DebugTraceCapture trace;
  CBaseTalkPlayer player;
  for (const char* text : {"ghost == 0", "!ghost", "ghost < 1 && 1 == 1"}) {
    ExprPtr condition = CompileCondition(text, player);
    ASSERT_TRUE(condition) << text;
    EXPECT_EQ(condition.Evaluate(), 1) << text;
  }
  EXPECT_TRUE(trace.Contains("variable ghost is not defined"));
}

TEST(ConditionLanguage, SyntaxErrorsPrintIfErrorAndKeepOnlyAWholeCondition) {
  CBaseTalkPlayer player;
  Declare(player, "x", 5);
  const std::string deep = std::string(5000, '(') + "1" + std::string(5000, ')');
  std::string chain = "1";
  for (int i = 0; i < 5000; ++i) chain += " == 1";
  std::string nots = std::string(5000, '!') + "1";
  constexpr int kNone = -1;
  const struct {
    std::string text;
    int kept;  // the value of the condition kept, or kNone
  } cases[] = {
      // '=' is no operator: the condition x is read, then 3 is stray.
      {"x = 3", 5},      {"x 3", 5},         {"x == 5 )", 1},  {"!x (", 1},
      {"", kNone},       {"(x == 3", kNone}, {"(x 3)", kNone}, {"sys(0 FLAG)", kNone},
      {"sys(q)", kNone}, {"x &| 3", 5},  // neither & nor | alone is a token
      {deep, kNone},     {chain, kNone},     {nots, kNone},
  };
  for (const auto& c : cases) {
    ExprPtr condition;
    std::string out = CaptureStdout([&] { condition = CompileCondition(c.text, player); });
    EXPECT_EQ(out, "if error\n") << c.text.substr(0, 40);
    if (c.kept == kNone) {
      EXPECT_FALSE(condition) << c.text.substr(0, 40);
    } else {
      ASSERT_TRUE(condition) << c.text;
      EXPECT_EQ(condition.Evaluate(), c.kept) << c.text;
    }
  }
}

TEST(StatementLanguage, AssignmentsAndArithmetic) {
  struct Case {
    const char* text;
    const char* variable;
    int expected;
  } cases[] = {
      {"x = y + 1", "x", 8},
      {"x = 0 - 7 / 2", "x", -3},  // division truncates toward zero
      {"x = (0 - 7) / 2", "x", -3},
      {"x = 2 + 3 * 4 - 6 / 2", "x", 11},
      {"x = 10 - 4 - 3", "x", 3},
      {"x = 5 / 0", "x", 0},  // no crash, 0
      {"x = (0 - 2147483647 - 1) / (0 - 1)", "x", INT_MIN},
      {"x = 2147483647 + 1", "x", INT_MIN},  // wraps at 32 bits
      {"x = 65536 * 65536", "x", 0},
      {"x = 99999999999", "x", INT_MAX},  // saturates instead of overflowing
      {"a = b = 3", "a", 3},
      {"a = b = 3", "b", 3},
      {"x = y + (a = 4)", "a", 4},
      {"x = 1; y = x + 1,", "y", 2},  // ';' and ',' are blanks
  };
  for (const auto& c : cases) {
    CBaseTalkPlayer player;
    for (const char* name : {"x", "y", "a", "b"}) Declare(player, name, 0);
    player.FindVariable("y")->value = 7;
    std::unique_ptr<CScriptExpr> script = CompileScript(c.text, player);
    ASSERT_TRUE(script);
    EXPECT_EQ(script->Evaluate(), 1);
    EXPECT_EQ(ValueOf(player, c.variable), c.expected) << c.text;
  }
}

TEST(StatementLanguage, AssignmentReadsCurrentValuesOnEveryRun) {
  CBaseTalkPlayer player;
  Declare(player, "x", 0);
  Declare(player, "y", 1);
  auto script = CompileScript("x = y + 1", player);
  script->Evaluate();
  EXPECT_EQ(ValueOf(player, "x"), 2);
  player.FindVariable("y")->value = 10;
  script->Evaluate();
  EXPECT_EQ(ValueOf(player, "x"), 11);
}

TEST(StatementLanguage, EachCallAndAssignmentRunsOncePerRun) {
  SysRecorder sys;
  sys.answers["ATTR6"] = 42;
  CBaseTalkPlayer player;
  Declare(player, "x", 0);
  Declare(player, "a", 0);
  Declare(player, "b", 0);

  struct Case {
    const char* text;
    int statements;
    std::vector<SysCall> calls;
  } cases[] = {
      {"sys(s +MONEY 100) sys(e AUTOPT5)", 2, {{SYSMODE_SET, "+MONEY", 100}, {SYSMODE_DO, "AUTOPT5", 0}}},
      {"x = sys(q ATTR6)", 1, {{SYSMODE_GET, "ATTR6", 0}}},
      {"sys(S -ITEM3_12 a = 2)", 1, {{SYSMODE_SET, "-ITEM3_12", 2}}},
      {"a = b = sys(q ATTR6)", 1, {{SYSMODE_GET, "ATTR6", 0}}},
      {"x 1 + 2 (a)", 0, {}},  // expressions that do nothing are dropped
      {"1 + sys(2 +ATTR6 5)", 1, {{SYSMODE_DO, "+ATTR6", 5}}},
  };
  for (const auto& c : cases) {
    auto script = CompileScript(c.text, player);
    EXPECT_EQ(script->statementCount, c.statements) << c.text;
    EXPECT_EQ(script->statements.size(), static_cast<size_t>(c.statements)) << c.text;
    sys.calls.clear();
    script->Evaluate();
    EXPECT_EQ(sys.calls, c.calls) << c.text;
  }
  EXPECT_EQ(ValueOf(player, "x"), 42);
  EXPECT_EQ(ValueOf(player, "a"), 42);
  EXPECT_EQ(ValueOf(player, "b"), 42);
}

TEST(StatementLanguage, SyntaxErrorKeepsTheStatementsBeforeIt) {
  SysRecorder sys;
  CBaseTalkPlayer player;
  Declare(player, "x", 5);
  struct Case {
    const char* text;
    int statements;
  } cases[] = {
      {"x = -1", 0},  // '-' only stands between two operands
      {"sys(e A) x = -1", 1},
      {"", 0},
      {"x = (1 + 2", 0},
      {"x = 3 = 4", 1},
      {"sys(2 NAME)", 0},  // a numeric mode needs its argument
      {"sys(e B) sys(1 NAME) sys(e C)", 1},
  };
  for (const auto& c : cases) {
    std::unique_ptr<CScriptExpr> script;
    std::string out = CaptureStdout([&] { script = CompileScript(c.text, player); });
    ASSERT_TRUE(script) << c.text;
    EXPECT_EQ(out, "script error\n") << c.text;
    EXPECT_EQ(script->statementCount, c.statements) << c.text;
    script->Evaluate();
  }
  EXPECT_EQ(ValueOf(player, "x"), 3);  // from "x = 3 = 4" only
  EXPECT_EQ(sys.calls, (std::vector<SysCall>{{SYSMODE_DO, "A", 0}, {SYSMODE_DO, "B", 0}}));
}

TEST(StatementLanguage, DeepTextsAreSyntaxErrorsNotCrashes) {
  CBaseTalkPlayer player;
  Declare(player, "x", 0);
  std::string chain = "x = 1";
  for (int i = 0; i < 20000; ++i) chain += " + 1";
  std::string parens = "x = " + std::string(20000, '(') + "1" + std::string(20000, ')');
  std::string assigns;
  for (int i = 0; i < 20000; ++i) assigns += "x = ";
  assigns += "1";
  for (const std::string& text : {chain, parens, assigns}) {
    std::unique_ptr<CScriptExpr> script;
    std::string out = CaptureStdout([&] { script = CompileScript(text, player); });
    EXPECT_EQ(out, "script error\n");
    EXPECT_EQ(script->statementCount, 0);
  }
}

TEST(StatementLanguage, UndeclaredVariablesAreZeroAndNeverAssigned) {
  SysRecorder sys;
  testsupport::DebugTraceCapture trace;
  CBaseTalkPlayer player;
  Declare(player, "x", 0);
  auto script = CompileScript("ghost = 5 x = ghost + 2", player);
  EXPECT_EQ(script->statementCount, 2);
  script->Evaluate();
  EXPECT_EQ(ValueOf(player, "x"), 2);
  EXPECT_EQ(player.FindVariable("ghost"), nullptr);
  EXPECT_TRUE(trace.Contains("variable ghost is not defined"));
}

TEST(StatementLanguage, SysNameCharactersAfterTheModeAreOneName) {
  SysRecorder sys;
  CBaseTalkPlayer player;
  std::string out = CaptureStdout([&] {
    auto script = CompileScript("sys(s\n+ITEM3_12 2) sys(q;A*B/C-D)", player);
    EXPECT_EQ(script->statementCount, 2);
    script->Evaluate();
  });
  EXPECT_EQ(sys.calls, (std::vector<SysCall>{{SYSMODE_SET, "+ITEM3_12", 2}, {SYSMODE_GET, "A*B/C-D", 0}}));
  EXPECT_EQ(out, "\n;");  // the sys-name reader echoes what it cannot take
}

TEST(SysExpr, AnswersOneWithoutProcedureAndUsesValue2ForOtherTypes) {
  CBaseTalkPlayer player;
  SetTalkSysProc(nullptr);
  auto call = std::make_unique<CSysExpr>(SYSMODE_GET, "ATTR1", ExprPtr());
  EXPECT_EQ(call->Evaluate(), 1);

  SetTalkSysProc([](SYSMODE, char* name, int) -> SYSRESULT {
    for (char* p = name; *p; ++p) *p = static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    return {1, 5, 9};
  });
  auto lower = std::make_unique<CSysExpr>(SYSMODE_GET, "attr6", ExprPtr());
  EXPECT_EQ(lower->Evaluate(), 9);
  EXPECT_EQ(lower->sysName, "ATTR6");  // the procedure worked on the node's own buffer
  SetTalkSysProc(DefaultTalkSysProc);
  EXPECT_EQ(lower->Evaluate(), 0);
}

}  // namespace
