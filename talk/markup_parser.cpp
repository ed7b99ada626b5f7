#include "talk/markup_parser.h"

#include <cstdio>
#include <memory>

#include "base/debug_trace.h"
#include "talk/base_talk_player.h"
#include "talk/condition_compiler.h"
#include "talk/list_container.h"
#include "talk/statement_compiler.h"
#include "talk/talk_text.h"

namespace {

// Deepest node the markup may create (the talk is level 1); the document's
// operations recurse over the tree.
constexpr int kMaxNesting = 200;

enum class ValueForm { Text, Number, NumberOrText, Pair, Triple };

struct AttributeRule {
  int token;
  ValueForm form;
  const char* errorAfterEquals;    // attr = <bad>; null: no message of its own
  const char* errorWithoutEquals;  // attr <bad>
  bool inDefine;                   // may stand in the <define> block
};

const AttributeRule kAttributeRules[] = {
    {KEY_aname, ValueForm::Text, "aname=\"????\" , no name assigned.", "aname=\"????\" , no name assigned.", false},
    {KEY_audio, ValueForm::Text, "audio=\"????\", no filename assigned.", "audio=\"????\", no filename assigned.",
     false},
    {KEY_bgcolor, ValueForm::Triple, "bgColor=\"??,??,??\"", "bgColor=\"??,??,??\"", true},
    {KEY_border, ValueForm::Number, nullptr, nullptr, true},
    {KEY_event, ValueForm::Text, "event=\"????\" , no event assigned.", "event=\"????\" , no event assigned.", false},
    {KEY_font, ValueForm::Text, "font=\"??\", no font assigned.", "font=\"??\", no font assigned.", true},
    {KEY_fontcolor, ValueForm::Triple, "missing color information", "missing color information", true},
    {KEY_fontsize, ValueForm::Pair, "missing font width & height", "missing font width & height", true},
    {KEY_fontxstep, ValueForm::NumberOrText, "FontXStep=??", "FontXStep=??", true},
    {KEY_fontystep, ValueForm::NumberOrText, "FontYStep=??", "FontYStep=??", true},
    {KEY_func, ValueForm::Text, "func=?? , no function assigned.", "\"=xxx\" expected", false},
    {KEY_header, ValueForm::Text, "header=\"???\"", "header=\"???\"", true},
    {KEY_headerspace, ValueForm::NumberOrText, "headerspace=??", "headerspace=??", true},
    {KEY_highlight, ValueForm::Triple, "HighLight=\"??,??,??\"", "HighLight=\"??,??,??\"", true},
    {KEY_if, ValueForm::Text, "if=\"xxxx\"", "if=\"xxxx\"", false},
    {KEY_linexstep, ValueForm::NumberOrText, "LineXStep=\"??\"", "LineXStep=\"??\"", true},
    {KEY_lineystep, ValueForm::NumberOrText, "LineYStep=\"??\"", "LineYStep=\"??\"", true},
    {KEY_link, ValueForm::Text, "link=?? , no link assigned.", "\"=xxx\" expected", false},
    {KEY_opaque, ValueForm::NumberOrText, "opaque=\"??\"", "opaque=\"??\"", true},
    {KEY_pevent, ValueForm::Text, "pevent=?? , no prefix action event assigned.", "\"=xxx\" expected", false},
    {KEY_pose, ValueForm::Text, nullptr, nullptr, false},
    {KEY_position, ValueForm::Pair, "Position=\"??,??\"", "Position=\"??,??\"", true},
    {KEY_script, ValueForm::Text, "script=\"????\"", "script=\"????\"", false},
    {KEY_size, ValueForm::Pair, "size=\"??,??\"", "size=\"??,??\"", true},
    {KEY_selectedcolor, ValueForm::Triple, "SelectedColor=\"??,??,??\"", "SelectedColor=\"??,??,??\"", true},
    {KEY_speaker, ValueForm::Text, "Speaker=\"????\", no speaker assigned", "Speaker=\"????\", no speaker assigned",
     true},
    {KEY_speakercolor, ValueForm::Triple, "SpeakerColor=\"??,??,??\"", "SpeakerColor=\"??,??,??\"", true},
    {KEY_speed, ValueForm::NumberOrText, "Speed=\"??\"", "Speed=\"??\"", true},
    {KEY_switch, ValueForm::Text, "switch=\"????\"", "switch=\"????\"", false},
};

const AttributeRule* FindRule(int token) {
  for (const AttributeRule& rule : kAttributeRules)
    if (rule.token == token) return &rule;
  return nullptr;
}

bool IsTagAttribute(int token) { return FindRule(token) != nullptr; }

bool StartsDefineEntry(int token) {
  const AttributeRule* rule = FindRule(token);
  return (rule && rule->inDefine) || token == KEY_int || token == KEY_color || token == KEY_vector3 ||
         token == KEY_vector2;
}

bool IsListElement(int token) { return token == KEY_sl || token == KEY_rl || token == KEY_ol || token == KEY_li; }

const char* EndTagMessage(int keyword) {
  switch (keyword) {
    case KEY_sl: return "\"</SL>\" expected";
    case KEY_rl: return "\"</RL>\" expected";
    case KEY_ol: return "\"</OL>\" expected";
    default: return "\"</LI>\" expected";
  }
}

std::unique_ptr<CBaseListContainer> MakeNode(int keyword) {
  switch (keyword) {
    case KEY_sl: return std::make_unique<CSequenceContainer>();
    case KEY_rl: return std::make_unique<CRandomContainer>();
    case KEY_ol: return std::make_unique<COptionalContainer>();
    default: return std::make_unique<CSentence>();
  }
}

int NestingOf(const CBaseListContainer* node) {
  int level = 0;
  for (; node && level <= kMaxNesting; node = node->parent) ++level;
  return level;
}

float* ScalarField(CBaseListContainer& node, int token) {
  TalkStyle& s = node.style;
  switch (token) {
    case KEY_fontxstep: return &s.fontxstep;
    case KEY_fontystep: return &s.fontystep;
    case KEY_headerspace: return &s.headerspace;
    case KEY_linexstep: return &s.linexstep;
    case KEY_lineystep: return &s.lineystep;
    case KEY_opaque: return &s.opaque;
    default: return &s.speed;
  }
}

TalkVector& VectorField(CBaseListContainer& node, int token) {
  TalkStyle& s = node.style;
  switch (token) {
    case KEY_bgcolor: return s.bgcolor;
    case KEY_fontcolor: return s.fontcolor;
    case KEY_fontsize: return s.fontsize;
    case KEY_highlight: return s.highlight;
    case KEY_position: return s.position;
    case KEY_size: return s.size;
    case KEY_selectedcolor: return s.selectedcolor;
    default: return s.speakercolor;
  }
}

}  // namespace

CTalkParser::CTalkParser(CBaseTalkPlayer& player, CTalkScanner& scanner) : player_(player), scanner_(scanner) {}

void CTalkParser::Advance() {
  cur_ = std::move(next_);
  next_ = scanner_.Next();
}

bool CTalkParser::AtUnitStart() const {
  return cur_.type == KEY_begindefine || (cur_.type == '<' && (next_.type == KEY_talk || next_.type == KEY_string));
}

void CTalkParser::SyntaxError(const char* message) {
  if (cur_.type == TALK_END) endedEarly_ = true;
  DebugTrace("parse error");
  DebugTrace("%s", message);
}

void CTalkParser::SkipToUnit() {
  if (AtUnitStart() || cur_.type == TALK_END) return;
  do {
    Advance();
  } while (cur_.type != '<' && cur_.type != KEY_begindefine && cur_.type != TALK_END);
}

void CTalkParser::SkipPastTagEnd() {
  while (cur_.type != '>' && cur_.type != '<' && cur_.type != KEY_endtag && cur_.type != KEY_begindefine &&
         cur_.type != TALK_END)
    Advance();
  if (cur_.type == '>') Advance();
}

bool CTalkParser::Parse() {
  cur_ = scanner_.Next();
  next_ = scanner_.Next();
  while (!aborted_ && cur_.type != TALK_END) {
    if (cur_.type == '<' && next_.type == KEY_talk) {
      ParseTalk();
    } else if (cur_.type == '<' && next_.type == KEY_string) {
      ParseString();
    } else if (cur_.type == KEY_begindefine) {
      ParseDefine();
    } else {
      SyntaxError("Structure error.");
      SkipToUnit();
    }
  }
  return !aborted_;
}

// ---- units ----

void CTalkParser::ParseTalk() {
  Advance();
  Advance();
  auto talk = std::make_unique<CTalkContainer>();
  talk->Inherit(player_);
  nodeStack_.push_back(talk.get());
  openElements_.push_back(KEY_talk);
  ParseTagTrail(*talk);
  ParseListContain();
  bool closed = !aborted_ && ParseEndTag(KEY_talk, "\"</TALK>\" expected");
  openElements_.pop_back();
  if (closed) {
    player_.AddTalk(std::move(talk));
    PopNode();
  } else {
    player_.KeepDetachedTalk(std::move(talk));
  }
}

void CTalkParser::ParseString() {
  Advance();
  Advance();
  if (cur_.type != DATA_string) {
    SyntaxError("define string error");
    SkipToUnit();
    return;
  }
  std::string name = cur_.text;
  Advance();
  if (cur_.type == '>') Advance();
  else SyntaxError("\">\" expected");
  if (cur_.type != DATA_string) {
    SyntaxError("define string error");
    SkipToUnit();
    return;
  }
  std::string text = cur_.text;
  Advance();
  if (cur_.type != KEY_endtag) {
    SyntaxError("</string> expected");
    SkipToUnit();
    return;
  }
  Advance();
  if (cur_.type == KEY_string) {
    Advance();
    if (cur_.type == '>') Advance();
    else SyntaxError("\">\" expected");
  } else {
    SyntaxError("</string> expected");
    SkipPastTagEnd();
  }
  if (!strings_.emplace(name, text).second) DebugTrace("string %s already defined", name.c_str());
}

void CTalkParser::ParseDefine() {
  Advance();
  while (cur_.type != KEY_enddefine) {
    bool ok = true;
    if (cur_.type == KEY_int) {
      ok = ParseIntVar();
    } else if (cur_.type == KEY_color || cur_.type == KEY_vector3) {
      ok = ParseVectorVar(3);
    } else if (cur_.type == KEY_vector2 || (cur_.type == KEY_size && next_.type == DATA_string)) {
      ok = ParseVectorVar(2);
    } else if (StartsDefineEntry(cur_.type)) {
      ParseAttribute(player_, true);
    } else {
      ok = false;
    }
    if (!ok) {
      SyntaxError("</define> expected");
      while (cur_.type != KEY_enddefine && cur_.type != TALK_END) Advance();
      if (cur_.type == TALK_END) return;
    }
  }
  Advance();
}

bool CTalkParser::ParseIntVar() {
  Advance();
  if (cur_.type != DATA_string) return false;
  std::string name = cur_.text;
  Advance();
  int initial = 0;
  if (cur_.type == '=') {
    Advance();
    if (cur_.type != DATA_number) return false;
    initial = TruncateToInt(cur_.number);
    Advance();
  }
  auto variable = std::make_unique<CVarExpr>(name);
  variable->value = initial;
  player_.AddVariable(name, std::move(variable));
  return true;
}

// Declarations of colours and vectors are accepted and have no effect.
bool CTalkParser::ParseVectorVar(int components) {
  Advance();
  if (cur_.type != DATA_string) return false;
  Advance();
  if (cur_.type != '=') return true;
  Advance();
  for (int i = 0; i < components; ++i) {
    if (cur_.type != DATA_number) return false;
    Advance();
  }
  return true;
}

// ---- elements ----

void CTalkParser::ParseTagTrail(CBaseListContainer& node) {
  while (IsTagAttribute(cur_.type)) ParseAttribute(node, false);
  if (cur_.type == '>') {
    Advance();
    return;
  }
  SyntaxError("\">\" expected");
  SkipPastTagEnd();
}

void CTalkParser::ParseListContain() {
  while (!aborted_) {
    if (cur_.type == '<' && IsListElement(next_.type)) {
      ParseElement();
      continue;
    }
    if (cur_.type == KEY_endtag || cur_.type == TALK_END || AtUnitStart()) return;
    SyntaxError("Structure error.");
    do {
      Advance();
    } while (cur_.type != '<' && cur_.type != KEY_endtag && cur_.type != KEY_begindefine && cur_.type != TALK_END);
  }
}

void CTalkParser::ParseElement() {
  int keyword = next_.type;
  Advance();
  Advance();
  // The talk that is being read is always on the stack below its elements.
  CBaseListContainer* parent = nodeStack_.back();
  if (NestingOf(parent) >= kMaxNesting) {
    DebugTrace("parser stack overflow");
    aborted_ = true;
    return;
  }
  std::unique_ptr<CBaseListContainer> created = MakeNode(keyword);
  CBaseListContainer* node = created.get();
  node->SetParent(parent);
  parent->AddChild(std::move(created));
  nodeStack_.push_back(node);
  openElements_.push_back(keyword);

  ParseTagTrail(*node);
  if (keyword == KEY_li) ParseSentenceBody(static_cast<CSentence&>(*node));
  else ParseListContain();
  bool closed = !aborted_ && ParseEndTag(keyword, EndTagMessage(keyword));
  openElements_.pop_back();
  if (closed) PopNode();
}

// A sentence holds its text and then, optionally, list items; one without
// text goes straight to its end tag.
void CTalkParser::ParseSentenceBody(CSentence& sentence) {
  if (cur_.type != DATA_string) return;
  SetSentenceText(sentence, cur_.text);
  Advance();
  ParseListContain();
}

// A well-formed end tag answers true. An end tag that belongs to an element
// further out is left for it; any other malformed one is read up to its '>'.
bool CTalkParser::ParseEndTag(int keyword, const char* expectedMessage) {
  if (cur_.type != KEY_endtag) {
    SyntaxError(expectedMessage);
    return false;
  }
  if (next_.type == keyword) {
    Advance();
    Advance();
    if (cur_.type == '>') {
      Advance();
      return true;
    }
    SyntaxError("\">\" expected");
    return false;
  }
  for (int open : openElements_) {
    if (open == next_.type) {
      SyntaxError(expectedMessage);
      return false;
    }
  }
  Advance();
  SyntaxError(expectedMessage);
  SkipPastTagEnd();
  return false;
}

// Pops the innermost open node, which after a malformed end tag is not
// necessarily the element that just ended.
void CTalkParser::PopNode() {
  if (!nodeStack_.empty()) nodeStack_.pop_back();
}

// ---- attributes ----

void CTalkParser::ParseAttribute(CBaseListContainer& node, bool inDefine) {
  const AttributeRule& rule = *FindRule(cur_.type);
  Advance();
  if (cur_.type != '=') {
    AttributeError(rule.errorWithoutEquals, inDefine);
    return;
  }
  Advance();
  switch (rule.form) {
    case ValueForm::Text:
      if (cur_.type != DATA_string) break;
      ApplyText(node, rule.token, cur_.text);
      Advance();
      return;
    case ValueForm::Number:
      if (cur_.type != DATA_number) break;
      node.style.border = TruncateToInt(cur_.number);
      Advance();
      return;
    case ValueForm::NumberOrText:
      if (cur_.type == DATA_number) {
        *ScalarField(node, rule.token) = cur_.number;
      } else if (cur_.type == DATA_string) {
        *ScalarField(node, rule.token) = TextToFloat(cur_.text);
      } else {
        break;
      }
      Advance();
      return;
    case ValueForm::Pair:
    case ValueForm::Triple: {
      int components = rule.form == ValueForm::Pair ? 2 : 3;
      TalkVector& field = VectorField(node, rule.token);
      if (cur_.type == DATA_string) {
        // Components the text does not give keep their values.
        float v[3] = {field.v[0], field.v[1], field.v[2]};
        std::sscanf(cur_.text.c_str(), components == 2 ? "%f,%f" : "%f,%f,%f", &v[0], &v[1], &v[2]);
        for (int i = 0; i < components; ++i) field.v[i] = v[i];
        Advance();
        return;
      }
      float v[3] = {0, 0, 0};
      int read = 0;
      while (read < components && cur_.type == DATA_number) {
        v[read++] = cur_.number;
        Advance();
      }
      if (read < components) {
        bool heightMissing = rule.token == KEY_fontsize && read == 1;
        AttributeError(heightMissing ? "missing font height" : rule.errorAfterEquals, inDefine);
        return;
      }
      for (int i = 0; i < components; ++i) field.v[i] = v[i];
      return;
    }
  }
  AttributeError(rule.errorAfterEquals, inDefine);
}

// An attribute without a message of its own leaves the bad token to the
// enclosing tag or define block.
void CTalkParser::AttributeError(const char* message, bool inDefine) {
  if (!message) return;
  SyntaxError(message);
  for (;; Advance()) {
    int t = cur_.type;
    if (t == TALK_END || t == '<' || t == KEY_endtag || t == KEY_begindefine) return;
    if (inDefine ? (StartsDefineEntry(t) || t == KEY_enddefine) : (IsTagAttribute(t) || t == '>')) return;
  }
}

void CTalkParser::ApplyText(CBaseListContainer& node, int token, const std::string& text) {
  switch (token) {
    case KEY_aname:
      node.aname = text;
      player_.AddAname(text, &node);
      break;
    case KEY_audio: node.audio = text; break;
    case KEY_event: node.event = text; break;
    case KEY_font: node.style.font = text; break;
    case KEY_func:
      node.func = text;
      LowerAscii(node.func);
      break;
    case KEY_header: node.style.header = text; break;
    case KEY_if:
      if (ExprPtr condition = CompileCondition(text, player_)) node.condition = std::move(condition);
      break;
    case KEY_link: node.link = text; break;
    case KEY_pevent: node.pevent = text; break;
    case KEY_pose: node.pose = text; break;
    case KEY_script: node.script = CompileScript(text, player_); break;
    case KEY_speaker:
      node.speaker = text;
      node.speakerIsPlayer = text == kBig5Player ? 1 : 0;
      break;
    default: node.switchName = text; break;
  }
}

// "##name" stands for the text of the string element of that name.
void CTalkParser::SetSentenceText(CSentence& sentence, const std::string& text) {
  if (text.compare(0, 2, "##") != 0) {
    sentence.text = text;
    return;
  }
  std::string name = text.substr(2);
  auto it = strings_.find(name);
  if (it == strings_.end()) {
    DebugTrace("string %s is not defined", name.c_str());
    sentence.text.clear();
    return;
  }
  sentence.text = it->second;
}
