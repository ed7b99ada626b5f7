#include "talk/statement_compiler.h"

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
  TOK_SYS = 260,
};

bool IsSysNameChar(char c) { return IsLetter(c) || IsDigit(c) || c == '+' || c == '-' || c == '*' || c == '/'; }

// After the mode of a sys call the scanner reads the sys name, which may hold
// signs and operators (+ITEM3_12 is one name).
class StatementScanner {
 public:
  explicit StatementScanner(const std::string& text) : text_(text) {}

  Token Next() {
    for (;;) {
      if (pos_ >= text_.size()) return {};
      char c = text_[pos_];
      if (readingSysName_) {
        if (IsSysNameChar(c)) {
          size_t start = pos_;
          while (pos_ < text_.size() && IsSysNameChar(text_[pos_])) ++pos_;
          readingSysName_ = false;
          sysBegun_ = false;
          return {TOK_STRING, text_.substr(start, pos_ - start), 0};
        }
        ++pos_;
        if (c != ' ' && c != '\t' && c != '\r' && c != ',') std::fputc(c, stdout);
        continue;
      }
      if (IsLetter(c)) {
        size_t start = pos_;
        while (pos_ < text_.size() && (IsLetter(text_[pos_]) || IsDigit(text_[pos_]))) ++pos_;
        Token t{TOK_STRING, text_.substr(start, pos_ - start), 0};
        std::string folded = t.text;
        LowerAscii(folded);
        if (folded == "sys") {
          t.type = TOK_SYS;
          sysBegun_ = true;
        } else if (sysBegun_) {
          readingSysName_ = true;
        }
        return t;
      }
      if (IsDigit(c)) {
        size_t start = pos_;
        while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
        Token t{TOK_INUMBER, text_.substr(start, pos_ - start), 0};
        t.number = TruncateToInt(std::strtod(t.text.c_str(), nullptr));
        if (sysBegun_) readingSysName_ = true;
        return t;
      }
      ++pos_;
      switch (c) {
        case '*':
        case '+':
        case '-':
        case '/':
        case '=':
        case '(':
        case ')': return {c, std::string(1, c), 0};
        case '\n':
        case ' ':
        case '\t':
        case '\r':
        case ',':
        case ';': continue;
        default: DebugTrace("Unknown token %c", c);
      }
    }
  }

 private:
  const std::string& text_;
  size_t pos_ = 0;
  bool sysBegun_ = false;
  bool readingSysName_ = false;
};

class StatementParser : TokenCursor<StatementScanner> {
 public:
  StatementParser(const std::string& text, const CBaseTalkPlayer& player)
      : TokenCursor(text, "script error\n"), player_(player) {}

  std::unique_ptr<CScriptExpr> Parse() {
    auto script = std::make_unique<CScriptExpr>();
    if (Peek(0).type == TOK_END) Fail();
    while (!failed_ && Peek(0).type != TOK_END) {
      didSomething_ = false;
      ParsedExpr statement = ParseExpr();
      if (failed_) break;
      if (didSomething_) script->AddStatement(std::move(statement.expr));
    }
    return script;
  }

 private:
  // Additive level; an assignment is read as an operand that takes the whole
  // rest of the expression as its value.
  ParsedExpr ParseExpr() {
    if (++nesting_ > kMaxExprDepth) {
      Fail();
      return {};
    }
    ParsedExpr lhs = ParseTerm();
    while (!failed_ && (Peek(0).type == '+' || Peek(0).type == '-')) {
      int op = Take().type;
      ParsedExpr rhs = ParseTerm();
      if (failed_) break;
      int depth = 1 + std::max(lhs.depth, rhs.depth);
      ExprPtr node = op == '+' ? ExprPtr(std::make_unique<CAddExpr>(std::move(lhs.expr), std::move(rhs.expr)))
                               : ExprPtr(std::make_unique<CSubExpr>(std::move(lhs.expr), std::move(rhs.expr)));
      lhs = Checked({std::move(node), depth});
    }
    --nesting_;
    return lhs;
  }

  ParsedExpr ParseTerm() {
    ParsedExpr lhs = ParseOperand();
    while (!failed_ && (Peek(0).type == '*' || Peek(0).type == '/')) {
      int op = Take().type;
      ParsedExpr rhs = ParseOperand();
      if (failed_) break;
      int depth = 1 + std::max(lhs.depth, rhs.depth);
      ExprPtr node = op == '*' ? ExprPtr(std::make_unique<CMulExpr>(std::move(lhs.expr), std::move(rhs.expr)))
                               : ExprPtr(std::make_unique<CDivExpr>(std::move(lhs.expr), std::move(rhs.expr)));
      lhs = Checked({std::move(node), depth});
    }
    return lhs;
  }

  ParsedExpr ParseOperand() {
    if (failed_) return {};
    const Token& t = Peek(0);
    if (t.type == '(') {
      Take();
      ParsedExpr inner = ParseExpr();
      Expect(')');
      return inner;
    }
    if (t.type == TOK_SYS) return ParseSys();
    if (t.type == TOK_INUMBER) return {std::make_unique<CConstExpr>(Take().number), 1};
    if (t.type == TOK_STRING) {
      ExprPtr variable = VariableOperand(Take().text, player_);
      if (Peek(0).type != '=') return {std::move(variable), 1};
      Take();
      ParsedExpr value = ParseExpr();
      if (failed_) return {};
      didSomething_ = true;
      return Checked({std::make_unique<CAssignExpr>(std::move(variable), std::move(value.expr)), value.depth + 1});
    }
    Fail();
    return {};
  }

  // sys ( mode name [expr] ); a numeric mode needs the argument.
  ParsedExpr ParseSys() {
    Token mode, name;
    if (!TakeSysHead(TOK_INUMBER, TOK_STRING, mode, name)) return {};
    ParsedExpr argument;
    if (mode.type == TOK_INUMBER || Peek(0).type != ')') {
      argument = ParseExpr();
      if (failed_) return {};
    }
    if (!Expect(')')) return {};
    didSomething_ = true;
    int sysMode = mode.type == TOK_INUMBER ? mode.number : SysModeFromText(mode.text);
    return Checked({std::make_unique<CSysExpr>(sysMode, name.text, std::move(argument.expr)), argument.depth + 1});
  }

  const CBaseTalkPlayer& player_;
  bool didSomething_ = false;
  int nesting_ = 0;
};

}  // namespace

std::unique_ptr<CScriptExpr> CompileScript(const std::string& text, const CBaseTalkPlayer& player) {
  return StatementParser(text, player).Parse();
}
