#pragma once
#include <memory>
#include <string>
#include <vector>

// Expression trees of the talk conditions (if=) and scripts (script=). Values
// are 32-bit signed ints; arithmetic wraps; the logical operators count only
// the value 1 as true. Every operator evaluates both sides, always: a sys call
// inside a condition runs on every evaluation.

// exprKind values.
enum : int {
  EXPR_OP = 1,
  EXPR_SCRIPT = 2,
  EXPR_VAR = 3,
  EXPR_CONST = 4,
  EXPR_ASSIGN = 5,
  EXPR_ADD = 6,
  EXPR_SUB = 7,
  EXPR_MUL = 8,
  EXPR_DIV = 9,
  EXPR_AND = 11,
  EXPR_NOT = 12,
  EXPR_OR = 13,
  EXPR_EQ = 14,
  EXPR_NE = 15,
  EXPR_GT = 16,
  EXPR_GE = 17,
  EXPR_LT = 18,
  EXPR_LE = 19,
  EXPR_SYS = 20,
};

class CBaseExpr {
 public:
  explicit CBaseExpr(int kind, int initial = 0) : exprKind(kind), value(initial) {}
  virtual ~CBaseExpr() = default;
  CBaseExpr(const CBaseExpr&) = delete;
  CBaseExpr& operator=(const CBaseExpr&) = delete;

  // Computes the node, keeps the result in value and returns it.
  virtual int Evaluate() = 0;

  int exprKind;
  int value;
};

class CVarExpr;

// A link to a sub-expression. It owns its node, except a talk variable: the
// player's variable table owns those and every expression naming one shares it.
class ExprPtr {
 public:
  ExprPtr() = default;
  template <class T>
  ExprPtr(std::unique_ptr<T> owned) : owned_(std::move(owned)), node_(owned_.get()) {}
  static ExprPtr Borrow(CVarExpr* variable);

  CBaseExpr* get() const { return node_; }
  CBaseExpr* operator->() const { return node_; }
  explicit operator bool() const { return node_ != nullptr; }
  // 0 for an empty link.
  int Evaluate() const;

 private:
  std::unique_ptr<CBaseExpr> owned_;
  CBaseExpr* node_ = nullptr;
};

// A statement list; runs every statement in order and answers 1.
class CScriptExpr : public CBaseExpr {
 public:
  CScriptExpr() : CBaseExpr(EXPR_SCRIPT) {}
  int Evaluate() override;
  void AddStatement(ExprPtr statement);

  int statementCount = 0;
  std::vector<ExprPtr> statements;
};

class CVarExpr : public CBaseExpr {
 public:
  explicit CVarExpr(std::string name) : CBaseExpr(EXPR_VAR), varName(std::move(name)) {}
  int Evaluate() override { return value; }

  std::string varName;
};

class CConstExpr : public CBaseExpr {
 public:
  explicit CConstExpr(int constant) : CBaseExpr(EXPR_CONST, constant) {}
  int Evaluate() override { return value; }
};

// Base of the operators; a unary operator has only left.
class CBaseOpExpr : public CBaseExpr {
 public:
  CBaseOpExpr(int kind, ExprPtr l, ExprPtr r) : CBaseExpr(kind), left(std::move(l)), right(std::move(r)) {}

  ExprPtr left;
  ExprPtr right;

 protected:
  // left first, then right.
  void EvaluateOperands(int& l, int& r) const;
};

// Stores right into left when left is a variable; otherwise keeps its own
// value and leaves right unevaluated.
class CAssignExpr : public CBaseOpExpr {
 public:
  CAssignExpr(ExprPtr l, ExprPtr r) : CBaseOpExpr(EXPR_ASSIGN, std::move(l), std::move(r)) {}
  int Evaluate() override;
};

class CAddExpr : public CBaseOpExpr {
 public:
  CAddExpr(ExprPtr l, ExprPtr r) : CBaseOpExpr(EXPR_ADD, std::move(l), std::move(r)) {}
  int Evaluate() override;
};

class CSubExpr : public CBaseOpExpr {
 public:
  CSubExpr(ExprPtr l, ExprPtr r) : CBaseOpExpr(EXPR_SUB, std::move(l), std::move(r)) {}
  int Evaluate() override;
};

class CMulExpr : public CBaseOpExpr {
 public:
  CMulExpr(ExprPtr l, ExprPtr r) : CBaseOpExpr(EXPR_MUL, std::move(l), std::move(r)) {}
  int Evaluate() override;
};

// Truncates toward 0; x / 0 is 0 and INT_MIN / -1 is INT_MIN.
class CDivExpr : public CBaseOpExpr {
 public:
  CDivExpr(ExprPtr l, ExprPtr r) : CBaseOpExpr(EXPR_DIV, std::move(l), std::move(r)) {}
  int Evaluate() override;
};

class CANDExpr : public CBaseOpExpr {
 public:
  CANDExpr(ExprPtr l, ExprPtr r) : CBaseOpExpr(EXPR_AND, std::move(l), std::move(r)) {}
  int Evaluate() override;
};

class CNOTExpr : public CBaseOpExpr {
 public:
  explicit CNOTExpr(ExprPtr operand) : CBaseOpExpr(EXPR_NOT, std::move(operand), ExprPtr()) {}
  int Evaluate() override;
};

class CORExpr : public CBaseOpExpr {
 public:
  CORExpr(ExprPtr l, ExprPtr r) : CBaseOpExpr(EXPR_OR, std::move(l), std::move(r)) {}
  int Evaluate() override;
};

class CCompareExpr : public CBaseOpExpr {
 public:
  CCompareExpr(ExprPtr l, ExprPtr r) : CBaseOpExpr(EXPR_EQ, std::move(l), std::move(r)) {}
  int Evaluate() override;
};

class CNEExpr : public CBaseOpExpr {
 public:
  CNEExpr(ExprPtr l, ExprPtr r) : CBaseOpExpr(EXPR_NE, std::move(l), std::move(r)) {}
  int Evaluate() override;
};

class CGTExpr : public CBaseOpExpr {
 public:
  CGTExpr(ExprPtr l, ExprPtr r) : CBaseOpExpr(EXPR_GT, std::move(l), std::move(r)) {}
  int Evaluate() override;
};

class CGEExpr : public CBaseOpExpr {
 public:
  CGEExpr(ExprPtr l, ExprPtr r) : CBaseOpExpr(EXPR_GE, std::move(l), std::move(r)) {}
  int Evaluate() override;
};

class CLTExpr : public CBaseOpExpr {
 public:
  CLTExpr(ExprPtr l, ExprPtr r) : CBaseOpExpr(EXPR_LT, std::move(l), std::move(r)) {}
  int Evaluate() override;
};

class CLEExpr : public CBaseOpExpr {
 public:
  CLEExpr(ExprPtr l, ExprPtr r) : CBaseOpExpr(EXPR_LE, std::move(l), std::move(r)) {}
  int Evaluate() override;
};

// A call of the installed talk sys procedure with the argument's value (0
// without one). Answers 1 when no procedure is installed.
class CSysExpr : public CBaseExpr {
 public:
  CSysExpr(int sysMode, std::string name, ExprPtr arg)
      : CBaseExpr(EXPR_SYS), mode(sysMode), sysName(std::move(name)), argument(std::move(arg)) {}
  int Evaluate() override;

  int mode;             // a SYSMODE, or any number the script wrote
  std::string sysName;  // the procedure may upper-case it in place
  ExprPtr argument;
};
