#include "talk/language_common.h"

#include "base/debug_trace.h"
#include "talk/base_talk_player.h"
#include "talk/talk_sys_proc.h"

int SysModeFromText(const std::string& text) {
  if (text == "q" || text == "Q") return SYSMODE_GET;
  if (text == "s" || text == "S") return SYSMODE_SET;
  if (text == "e" || text == "E") return SYSMODE_DO;
  return -1;
}

ExprPtr VariableOperand(const std::string& name, const CBaseTalkPlayer& player) {
  if (CVarExpr* variable = player.FindVariable(name)) return ExprPtr::Borrow(variable);
  DebugTrace("variable %s is not defined", name.c_str());
  return std::make_unique<CConstExpr>(0);
}
