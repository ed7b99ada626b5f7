#include "platform/qel/kbs_evaluator.h"

#include <string>

#include "platform/debug_output.h"

namespace qmz {

// Recursive descent over the text. A first pass only checks the syntax, so a
// bad text never reaches the procedures halfway; the second pass evaluates.
class CKBSEvaluator::Parser {
 public:
  Parser(const CKBSEvaluator& owner, const char* text, bool evaluate)
      : owner_(owner), text_(text), evaluate_(evaluate) {}

  bool Run(int& value) {
    value = Expr();
    Blanks();
    if (text_[pos_] != '\0') Fail();
    return ok_;
  }
  size_t ErrorAt() const { return errorAt_; }

 private:
  // Deep enough for any written condition, shallow enough for the stack.
  static constexpr int kMaxDepth = 64;

  int Expr() {
    int left = Term();
    while (ok_ && Accept('|')) {
      Accept('|');
      left = Combine(left, Term(), OP_OR, 2);
    }
    return left;
  }

  int Term() {
    int left = Unary();
    while (ok_ && Accept('&')) {
      Accept('&');
      left = Combine(left, Unary(), OP_AND, 2);
    }
    return left;
  }

  int Unary() {
    if (++depth_ > kMaxDepth) {
      Fail();
      return 0;
    }
    int value;
    if (Accept('!')) value = Combine(0, Unary(), OP_NOT, 2);
    else if (Accept('-')) value = Combine(0, Unary(), OP_MINUS, 1);
    else if (Accept('+')) value = Combine(0, Unary(), OP_PLUS, 1);
    else value = Primary();
    --depth_;
    return value;
  }

  int Primary() {
    Blanks();
    if (Accept('(')) {
      int value = Expr();
      if (!Accept(')')) Fail();
      return value;
    }
    size_t start = pos_;
    while (text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
    if (pos_ == start) {
      Fail();
      return 0;
    }
    if (!evaluate_ || !owner_.operand_) return 0;
    return owner_.operand_(std::string(text_ + start, pos_ - start).c_str());
  }

  int Combine(int left, int right, int code, int count) {
    if (!ok_ || !evaluate_ || !owner_.operator_) return 0;
    return owner_.operator_(left, right, code, count);
  }

  bool Accept(char c) {
    Blanks();
    if (text_[pos_] != c) return false;
    ++pos_;
    return true;
  }

  void Blanks() {
    while (text_[pos_] == ' ' || text_[pos_] == '\t') ++pos_;
  }

  void Fail() {
    if (ok_) errorAt_ = pos_;
    ok_ = false;
  }

  const CKBSEvaluator& owner_;
  const char* text_;
  bool evaluate_;
  size_t pos_ = 0;
  int depth_ = 0;
  bool ok_ = true;
  size_t errorAt_ = 0;
};

CKBSEvaluator* CKBSEvaluator::Instance() {
  static CKBSEvaluator instance;
  return &instance;
}

void CKBSEvaluator::BindProc(OperandProc operand, OperatorProc op) {
  operand_ = std::move(operand);
  operator_ = std::move(op);
}

int CKBSEvaluator::Evaluate(const char* text) {
  if (!text) return 0;
  int value = 0;
  Parser check(*this, text, false);
  if (!check.Run(value)) {
    plat::DebugOutput("qel: expression syntax error at " + std::to_string(check.ErrorAt()) + " in \"" + text + "\"\n");
    return 0;
  }
  Parser(*this, text, true).Run(value);
  return value;
}

}  // namespace qmz
