#pragma once
#include <map>
#include <string>
#include <vector>

#include "talk/markup_scanner.h"

class CBaseListContainer;
class CBaseTalkPlayer;
class CSentence;

// Builds the talk document from the markup's tokens: talks of sequence,
// random and optional lists and sentences with their attributes, the <define>
// block (variables and the root's defaults) and named <string> texts.
//
// Syntax errors go to DebugTrace and the parse goes on: a malformed end tag
// leaves its node open, so later elements become its children, and a talk
// whose end tag is malformed is not added to the player. Only the player's
// own errors (duplicate or undefined names) count against the load.
class CTalkParser {
 public:
  CTalkParser(CBaseTalkPlayer& player, CTalkScanner& scanner);

  // Reads the markup to its end; false when it had to give up early because
  // the elements nest too deeply.
  bool Parse();
  // A syntax error met the end of the input: the markup was cut short.
  bool EndedEarly() const { return endedEarly_; }

 private:
  void Advance();
  bool AtUnitStart() const;
  void SyntaxError(const char* message);
  void SkipToUnit();
  // Skips to '>' (taken) or to a token that begins something else.
  void SkipPastTagEnd();

  void ParseTalk();
  void ParseString();
  void ParseDefine();
  bool ParseIntVar();
  bool ParseVectorVar(int components);

  void ParseTagTrail(CBaseListContainer& node);
  void ParseListContain();
  void ParseElement();
  void ParseSentenceBody(CSentence& sentence);
  bool ParseEndTag(int keyword, const char* expectedMessage);
  void PopNode();

  void ParseAttribute(CBaseListContainer& node, bool inDefine);
  void AttributeError(const char* message, bool inDefine);
  void ApplyText(CBaseListContainer& node, int token, const std::string& text);
  void SetSentenceText(CSentence& sentence, const std::string& text);

  CBaseTalkPlayer& player_;
  CTalkScanner& scanner_;
  TalkToken cur_;
  TalkToken next_;
  // The open talk, lists and sentences, innermost last.
  std::vector<CBaseListContainer*> nodeStack_;
  // Keywords of the elements being read, outermost first.
  std::vector<int> openElements_;
  std::map<std::string, std::string> strings_;
  bool aborted_ = false;
  bool endedEarly_ = false;
};
