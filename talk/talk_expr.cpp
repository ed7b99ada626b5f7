#include "talk/talk_expr.h"

#include <climits>
#include <cstdint>

#include "talk/talk_sys_proc.h"

namespace {

int Truth(bool b) { return b ? 1 : 0; }

}  // namespace

ExprPtr ExprPtr::Borrow(CVarExpr* variable) {
  ExprPtr p;
  p.node_ = variable;
  return p;
}

int ExprPtr::Evaluate() const { return node_ ? node_->Evaluate() : 0; }

int CScriptExpr::Evaluate() {
  for (ExprPtr& statement : statements) statement.Evaluate();
  return value = 1;
}

void CScriptExpr::AddStatement(ExprPtr statement) {
  statements.push_back(std::move(statement));
  ++statementCount;
}

void CBaseOpExpr::EvaluateOperands(int& l, int& r) const {
  l = left.Evaluate();
  r = right.Evaluate();
}

int CAssignExpr::Evaluate() {
  if (!left || left->exprKind != EXPR_VAR) return value;
  value = right.Evaluate();
  left->value = value;
  return value;
}

int CAddExpr::Evaluate() {
  int l, r;
  EvaluateOperands(l, r);
  return value = static_cast<int>(static_cast<uint32_t>(l) + static_cast<uint32_t>(r));
}

int CSubExpr::Evaluate() {
  int l, r;
  EvaluateOperands(l, r);
  return value = static_cast<int>(static_cast<uint32_t>(l) - static_cast<uint32_t>(r));
}

int CMulExpr::Evaluate() {
  int l, r;
  EvaluateOperands(l, r);
  return value = static_cast<int>(static_cast<uint32_t>(l) * static_cast<uint32_t>(r));
}

int CDivExpr::Evaluate() {
  int l, r;
  EvaluateOperands(l, r);
  if (r == 0) return value = 0;
  if (l == INT_MIN && r == -1) return value = INT_MIN;
  return value = l / r;
}

int CANDExpr::Evaluate() {
  int l, r;
  EvaluateOperands(l, r);
  return value = Truth(l == 1 && r == 1);
}

int CNOTExpr::Evaluate() { return value = Truth(left.Evaluate() != 1); }

int CORExpr::Evaluate() {
  int l, r;
  EvaluateOperands(l, r);
  return value = Truth(l == 1 || r == 1);
}

int CCompareExpr::Evaluate() {
  int l, r;
  EvaluateOperands(l, r);
  return value = Truth(l == r);
}

int CNEExpr::Evaluate() {
  int l, r;
  EvaluateOperands(l, r);
  return value = Truth(l != r);
}

int CGTExpr::Evaluate() {
  int l, r;
  EvaluateOperands(l, r);
  return value = Truth(l > r);
}

int CGEExpr::Evaluate() {
  int l, r;
  EvaluateOperands(l, r);
  return value = Truth(l >= r);
}

int CLTExpr::Evaluate() {
  int l, r;
  EvaluateOperands(l, r);
  return value = Truth(l < r);
}

int CLEExpr::Evaluate() {
  int l, r;
  EvaluateOperands(l, r);
  return value = Truth(l <= r);
}

int CSysExpr::Evaluate() {
  value = 1;
  if (!g_talkSysProc) return value;
  int arg = argument.Evaluate();
  SYSRESULT result = g_talkSysProc(static_cast<SYSMODE>(mode), sysName.data(), arg);
  return value = (result.type == 0) ? result.value : result.value2;
}
