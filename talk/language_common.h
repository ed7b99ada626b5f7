#pragma once
#include <cstdio>
#include <deque>
#include <string>

#include "talk/talk_expr.h"

class CBaseTalkPlayer;

// Pieces shared by the condition and the statement language.

// Deepest expression either compiler accepts; deeper texts are syntax errors,
// since evaluating and releasing a tree recurse over it.
inline constexpr int kMaxExprDepth = 200;

// "q"/"Q" get, "s"/"S" set, "e"/"E" do; any other text gives -1, a mode the
// sys procedures ignore.
int SysModeFromText(const std::string& text);

// The player's variable of that name; an undeclared name is reported and
// stands for the constant 0, so no expression ever lacks an operand.
ExprPtr VariableOperand(const std::string& name, const CBaseTalkPlayer& player);

// A parsed sub-expression with the depth of its tree.
struct ParsedExpr {
  ExprPtr expr;
  int depth = 0;
};

// A token of either language; type is a character or one of the language's codes, 0 ends the text.
struct Token {
  int type = 0;
  std::string text;
  int number = 0;
};

inline bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Lookahead and error state shared by both recursive-descent parsers. The
// first error prints the language's message once and stops the parse.
template <class Scanner>
class TokenCursor {
 protected:
  TokenCursor(const std::string& text, const char* errorLine) : scanner_(text), errorLine_(errorLine) {}

  const Token& Peek(size_t k) {
    while (lookahead_.size() <= k) lookahead_.push_back(scanner_.Next());
    return lookahead_[k];
  }

  Token Take() {
    Peek(0);
    Token t = std::move(lookahead_.front());
    lookahead_.pop_front();
    return t;
  }

  bool Expect(int type) {
    if (failed_) return false;
    if (Peek(0).type != type) {
      Fail();
      return false;
    }
    Take();
    return true;
  }

  void Fail() {
    if (failed_) return;
    failed_ = true;
    std::fputs(errorLine_, stdout);
  }

  ParsedExpr Checked(ParsedExpr e) {
    if (e.depth > kMaxExprDepth) Fail();
    return e;
  }

  // Reads "sys ( mode name" of a sys call, the mode a number or a word and
  // the name a word; false after a syntax error.
  bool TakeSysHead(int numberType, int wordType, Token& mode, Token& name) {
    Take();
    if (!Expect('(')) return false;
    mode = Take();
    if (mode.type != numberType && mode.type != wordType) {
      Fail();
      return false;
    }
    name = Take();
    if (name.type != wordType) {
      Fail();
      return false;
    }
    return true;
  }

  bool failed_ = false;

 private:
  Scanner scanner_;
  const char* errorLine_;
  std::deque<Token> lookahead_;
};
