#include "talk/condition_compiler.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "base/debug_trace.h"
#include "talk/language_common.h"
#include "talk/talk_text.h"

namespace {

enum : int {
  TOK_END = 0,
  TOK_STRING = 258,
  TOK_INUMBER = 259,
  TOK_EQ = 260,
  TOK_GE = 261,
  TOK_GT = 262,
  TOK_NE = 263,
  TOK_LE = 264,
  TOK_LT = 265,
  TOK_AND = 266,
  TOK_OR = 267,
  TOK_SYS = 268,
  TOK_NOT = 269,
};

class ConditionScanner {
 public:
  explicit ConditionScanner(const std::string& text) : text_(text) {}

  Token Next() {
    for (;;) {
      if (pos_ >= text_.size()) return {};
      char c = text_[pos_];
      if (IsLetter(c)) {
        size_t start = pos_;
        while (pos_ < text_.size() && (IsLetter(text_[pos_]) || IsDigit(text_[pos_]))) ++pos_;
        Token t;
        t.text = text_.substr(start, pos_ - start);
        std::string folded = t.text;
        LowerAscii(folded);
        t.type = folded == "sys" ? TOK_SYS : TOK_STRING;
        return t;
      }
      size_t sign = (c == '+' || c == '-') ? 1 : 0;
      if (pos_ + sign < text_.size() && IsDigit(text_[pos_ + sign])) {
        size_t start = pos_;
        pos_ += sign;
        while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
        Token t;
        t.type = TOK_INUMBER;
        t.text = text_.substr(start, pos_ - start);
        t.number = TruncateToInt(std::strtod(t.text.c_str(), nullptr));
        return t;
      }
      char next = pos_ + 1 < text_.size() ? text_[pos_ + 1] : '\0';
      static const struct {
        char first, second;
        int type;
      } kOperators[] = {
          {'=', '=', TOK_EQ},  {'>', '=', TOK_GE}, {'<', '=', TOK_LE}, {'!', '=', TOK_NE},
          {'&', '&', TOK_AND}, {'|', '|', TOK_OR}, {'<', 0, TOK_LT},   {'>', 0, TOK_GT},
          {'!', 0, TOK_NOT},   {'(', 0, '('},      {')', 0, ')'},
      };
      bool matched = false;
      Token t;
      for (const auto& op : kOperators) {
        if (op.first != c || (op.second && op.second != next)) continue;
        pos_ += op.second ? 2 : 1;
        t.type = op.type;
        matched = true;
        break;
      }
      if (matched) return t;
      ++pos_;
      if (c == '\n' || c == ' ' || c == '\t' || c == '\r' || c == ',' || c == ';') continue;
      DebugTrace("Unknown token %c", c);
    }
  }

 private:
  const std::string& text_;
  size_t pos_ = 0;
};

class ConditionParser : TokenCursor<ConditionScanner> {
 public:
  ConditionParser(const std::string& text, const CBaseTalkPlayer& player)
      : TokenCursor(text, "if error\n"), player_(player) {}

  ExprPtr Parse() {
    ParsedExpr body = ParseLevel(0);
    if (failed_) return {};
    // Stray tokens after a complete condition are an error, but the
    // condition read before them stands.
    if (Peek(0).type != TOK_END) Fail();
    return std::move(body.expr);
  }

 private:
  // Binary operators by binding level, loosest first.
  static int LevelOf(int type) {
    switch (type) {
      case TOK_AND:
      case TOK_OR: return 0;
      case TOK_EQ:
      case TOK_NE: return 1;
      case TOK_LT:
      case TOK_LE:
      case TOK_GT:
      case TOK_GE: return 2;
      default: return -1;
    }
  }

  static ExprPtr MakeBinary(int type, ExprPtr l, ExprPtr r) {
    switch (type) {
      case TOK_AND: return std::make_unique<CANDExpr>(std::move(l), std::move(r));
      case TOK_OR: return std::make_unique<CORExpr>(std::move(l), std::move(r));
      case TOK_EQ: return std::make_unique<CCompareExpr>(std::move(l), std::move(r));
      case TOK_NE: return std::make_unique<CNEExpr>(std::move(l), std::move(r));
      case TOK_LT: return std::make_unique<CLTExpr>(std::move(l), std::move(r));
      case TOK_LE: return std::make_unique<CLEExpr>(std::move(l), std::move(r));
      case TOK_GT: return std::make_unique<CGTExpr>(std::move(l), std::move(r));
      default: return std::make_unique<CGEExpr>(std::move(l), std::move(r));
    }
  }

  ParsedExpr ParseLevel(int level) {
    if (level > 2) return ParseUnary();
    ParsedExpr lhs = ParseLevel(level + 1);
    while (!failed_ && LevelOf(Peek(0).type) == level) {
      int op = Take().type;
      ParsedExpr rhs = ParseLevel(level + 1);
      if (failed_) break;
      int depth = 1 + std::max(lhs.depth, rhs.depth);
      lhs = Checked({MakeBinary(op, std::move(lhs.expr), std::move(rhs.expr)), depth});
    }
    return lhs;
  }

  ParsedExpr ParseUnary() {
    if (failed_) return {};
    if (++nesting_ > kMaxExprDepth) {
      Fail();
      return {};
    }
    ParsedExpr result;
    if (Peek(0).type == TOK_NOT) {
      Take();
      ParsedExpr operand = ParseUnary();
      if (!failed_) result = Checked({std::make_unique<CNOTExpr>(std::move(operand.expr)), operand.depth + 1});
    } else {
      result = ParsePrimary();
    }
    --nesting_;
    return result;
  }

  ParsedExpr ParsePrimary() {
    int type = Peek(0).type;
    if (type == '(') {
      Take();
      ParsedExpr inner = ParseLevel(0);
      Expect(')');
      return inner;
    }
    if (type == TOK_SYS) return ParseSys();
    return ParseLeaf();
  }

  // sys ( mode name [leaf] ), the mode as a number or a letter; a numeric
  // mode needs the argument.
  ParsedExpr ParseSys() {
    Token mode, name;
    if (!TakeSysHead(TOK_INUMBER, TOK_STRING, mode, name)) return {};
    ParsedExpr argument;
    if (mode.type == TOK_INUMBER || Peek(0).type != ')') {
      argument = ParseLeaf();
      if (failed_) return {};
    }
    if (!Expect(')')) return {};
    int sysMode = mode.type == TOK_INUMBER ? mode.number : SysModeFromText(mode.text);
    return {std::make_unique<CSysExpr>(sysMode, name.text, std::move(argument.expr)), argument.depth + 1};
  }

  ParsedExpr ParseLeaf() {
    const Token& t = Peek(0);
    if (t.type == TOK_INUMBER) return {std::make_unique<CConstExpr>(Take().number), 1};
    if (t.type == TOK_STRING) return {VariableOperand(Take().text, player_), 1};
    Fail();
    return {};
  }

  const CBaseTalkPlayer& player_;
  int nesting_ = 0;
};

}  // namespace

ExprPtr CompileCondition(const std::string& text, const CBaseTalkPlayer& player) {
  return ConditionParser(text, player).Parse();
}
