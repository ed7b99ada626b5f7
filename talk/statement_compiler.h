#pragma once
#include <memory>
#include <string>

#include "talk/talk_expr.h"

class CBaseTalkPlayer;

// The statement language of script= attributes: assignments to variables and
// sys calls, with + - * / and parentheses, one after another without
// separators. '=' binds loosest and groups from the right (a = b = 3).
//
// Each top-level expression that does something (holds an assignment or a sys
// call) becomes one statement, so every call and assignment runs exactly once
// per run of the script; x = sys(q ATTR6) calls the procedure once. A pure
// expression (x, 1 + 2) is dropped.
//
// The script is returned even after a syntax error ("script error\n" on
// standard output), holding the statements completed before it.
std::unique_ptr<CScriptExpr> CompileScript(const std::string& text, const CBaseTalkPlayer& player);
