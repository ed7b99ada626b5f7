#pragma once
#include <string>

#include "talk/talk_expr.h"

class CBaseTalkPlayer;

// The condition language of if= attributes: variables, integer constants and
// sys calls joined by comparisons, &&, || and a prefix !. Lowest to highest
// binding: && and || together, then == and !=, then < <= > >=, then !; all
// binary operators group from the left, so a || b && c is (a || b) && c.
//
// A syntax error prints "if error\n" to standard output and gives an empty
// result, unless a whole condition was read before the stray tokens that
// follow it: that condition is kept. Characters no token accepts are
// reported to DebugTrace and skipped.
ExprPtr CompileCondition(const std::string& text, const CBaseTalkPlayer& player);
