#include "platform/qel/kbs_evaluator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/captures.h"

namespace {

// Records every call; operands are worth 10 x their number + 1 so that each
// call can be traced in the log, and operators answer as the battle script does.
class EvaluatorLog {
 public:
  EvaluatorLog() {
    qmz::CKBSEvaluator::Instance()->BindProc(
        [this](const char* text) {
          calls.push_back(std::string("operand ") + text);
          return std::stoi(text) * 10 + 1;
        },
        [this](int left, int right, int code, int count) {
          calls.push_back("op " + std::to_string(code) + "/" + std::to_string(count) + " " + std::to_string(left) +
                          " " + std::to_string(right));
          switch (code) {
            case 101: return right;
            case 102: return -right;
            case 201: return (left && right) ? 1 : 0;
            case 202: return (left || right) ? 1 : 0;
            case 203: return right == 0 ? 1 : 0;
            default: return 0;
          }
        });
  }
  ~EvaluatorLog() { qmz::CKBSEvaluator::Instance()->BindProc(nullptr, nullptr); }
  std::vector<std::string> calls;
};

TEST(KBSEvaluator, CombinesOperandsThroughTheProcedures) {
  struct Case {
    const char* text;
    int value;
    std::vector<std::string> calls;
  } cases[] = {
      {"0&1", 1, {"operand 0", "operand 1", "op 201/2 1 11"}},
      {"!2", 0, {"operand 2", "op 203/2 0 21"}},
      {"(0|1)&!3", 0, {"operand 0", "operand 1", "op 202/2 1 11", "operand 3", "op 203/2 0 31", "op 201/2 1 0"}},
      {"-4", -41, {"operand 4", "op 102/1 0 41"}},
      {"+5", 51, {"operand 5", "op 101/1 0 51"}},
      {"12", 121, {"operand 12"}},
      // '&' binds tighter than '|'; "&&" and "||" read as the single forms.
      {"1||2&&3", 1, {"operand 1", "operand 2", "operand 3", "op 201/2 21 31", "op 202/2 11 1"}},
      {" ( 7 ) ", 71, {"operand 7"}},
  };
  for (const auto& c : cases) {
    EvaluatorLog log;
    EXPECT_EQ(qmz::CKBSEvaluator::Instance()->Evaluate(c.text), c.value) << c.text;
    EXPECT_EQ(log.calls, c.calls) << c.text;
  }
}

TEST(KBSEvaluator, SyntaxErrorGivesZeroWithoutCallingTheProcedures) {
  std::string deep(200, '(');
  deep += "1" + std::string(200, ')');
  for (std::string text : {"", "0&", "(1", "1)", "1 2", "a", "&1", "1|||2", "!", "1;2", deep.c_str()}) {
    EvaluatorLog log;
    testsupport::DebugOutputCapture output;
    EXPECT_EQ(qmz::CKBSEvaluator::Instance()->Evaluate(text.c_str()), 0) << text;
    EXPECT_TRUE(log.calls.empty()) << text;
    EXPECT_TRUE(output.Contains("syntax error")) << text;
  }
}

TEST(KBSEvaluator, UnboundProceduresGiveZero) {
  qmz::CKBSEvaluator::Instance()->BindProc(nullptr, nullptr);
  EXPECT_EQ(qmz::CKBSEvaluator::Instance()->Evaluate("5"), 0);
  EXPECT_EQ(qmz::CKBSEvaluator::Instance()->Evaluate(nullptr), 0);
}

}  // namespace
