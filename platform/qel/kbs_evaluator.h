#pragma once
#include <functional>

namespace qmz {

// Evaluator of the battle scripts' condition expressions:
//   expr    := term ('|' term)*          operator 202, two operands
//   term    := unary ('&' unary)*        operator 201, two operands
//   unary   := '!' unary                 operator 203, two operands (left 0)
//            | '-' unary | '+' unary     operators 102 and 101, one operand (left 0)
//            | primary
//   primary := digits | '(' expr ')'
// "&&" and "||" mean the same as '&' and '|'; blanks are skipped. Each
// operand's digits go to the operand procedure, each operator to the operator
// procedure as (left, right, code, operand count). Operators bind left to
// right; every operand is evaluated. A text that does not parse calls
// neither procedure, evaluates to 0 and reports the error on the debug output.
class CKBSEvaluator {
 public:
  using OperandProc = std::function<int(const char* text)>;
  using OperatorProc = std::function<int(int left, int right, int code, int count)>;

  enum : int { OP_PLUS = 101, OP_MINUS = 102, OP_AND = 201, OP_OR = 202, OP_NOT = 203 };

  static CKBSEvaluator* Instance();

  void BindProc(OperandProc operand, OperatorProc op);
  // Without bound procedures operands and operators give 0.
  int Evaluate(const char* text);

 private:
  CKBSEvaluator() = default;

  class Parser;

  OperandProc operand_;
  OperatorProc operator_;
};

}  // namespace qmz
