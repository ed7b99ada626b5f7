#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "talk/talk_expr.h"
#include "talk/talk_text.h"

class CBaseTalkPlayer;

// The talk document: the player is the root, its children the talks; talks
// and lists hold lists and sentences; a sentence may hold a nested list.
// Every node carries the markup's attributes, an optional condition and
// script, and the counters the interpreter keeps while it walks the tree.

enum : int {
  NODE_SENTENCE = 1,
  NODE_SEQUENCE = 2,
  NODE_RANDOM = 3,
  NODE_OPTIONAL = 4,
  NODE_TALK = 5,
};

// A colour (3 components, 0..255) or a size or position (2 components, in
// units of the 800 x 600 reference screen).
struct TalkVector {
  int count = 0;
  float v[3] = {0, 0, 0};
};

// The attributes a node takes from its parent when it is created. The
// initial values are the root's defaults.
struct TalkStyle {
  TalkVector bgcolor{3, {0, 0, 0}};
  int border = 1;
  std::string font = kBig5DefaultFont;
  TalkVector fontcolor{3, {255, 255, 255}};
  TalkVector fontsize{2, {20, 20, 0}};
  float fontxstep = 22;
  float fontystep = 0;
  float headerspace = -1;
  std::string header = ":";
  TalkVector highlight{3, {255, 255, 0}};
  float linexstep = 0;
  float lineystep = 25;
  float opaque = 0;
  TalkVector position{2, {5, 400, 0}};
  TalkVector selectedcolor{3, {255, 50, 50}};
  TalkVector size{2, {700, 150, 0}};
  TalkVector speakercolor{3, {255, 255, 255}};
  float speed = 0;
};

class CBaseListContainer {
 public:
  explicit CBaseListContainer(int nodeKind) : kind(nodeKind) {}
  virtual ~CBaseListContainer() = default;
  CBaseListContainer(const CBaseListContainer&) = delete;
  CBaseListContainer& operator=(const CBaseListContainer&) = delete;

  // Debug description on standard output: a kind line, then "%d members\n"
  // and each child's dump when there are children.
  virtual void Dump() const;
  // Takes the child, sets its index; returns the new child count.
  virtual int AddChild(std::unique_ptr<CBaseListContainer> child);
  // Looks link and switch up among the player's anames (an unknown name is a
  // load error), then resolves the children.
  virtual void ResolveLinks(CBaseTalkPlayer& player);
  // Steps into the node on the player's node stack (the interpreter walks the
  // tree itself and does not use this).
  virtual int Enter(CBaseTalkPlayer& player) = 0;
  // The child at index, none outside 0..childCount-1.
  virtual CBaseListContainer* GetChild(int childIndex) const;
  // visits and cursor back to 0, throughout the subtree.
  virtual void Reset();

  // Sets parent and copies its inheritable attributes.
  void SetParent(CBaseListContainer* newParent);
  // A talk starts from the root's attributes, its speed from the player's
  // talkSpeed; its parent stays none.
  void Inherit(const CBaseTalkPlayer& root);
  // Evaluates the children's conditions and orders the enabled ones first,
  // each group by index.
  void Filter();

  int kind;
  std::string aname;
  std::string audio;
  std::string event;
  std::string func;  // lower case: "end" or "back"
  std::string link;
  std::string pevent;
  std::string pose;
  std::string speaker;
  std::string switchName;  // the switch attribute
  TalkStyle style;
  int speakerIsPlayer = 1;
  ExprPtr condition;
  std::unique_ptr<CScriptExpr> script;

  int visits = 0;
  int index = 0;
  int childCount = 0;
  int enabledCount = 0;
  int enabled = 0;
  CBaseListContainer* parent = nullptr;
  CBaseListContainer* linkTarget = nullptr;
  CBaseListContainer* switchTarget = nullptr;
  int cursor = 0;
  uint32_t voice = 0;  // engine handle of the sentence's playing sound
  std::vector<std::unique_ptr<CBaseListContainer>> children;

 protected:
  void DumpMembers() const;
};

// sl: the children in order.
class CSequenceContainer : public CBaseListContainer {
 public:
  CSequenceContainer() : CBaseListContainer(NODE_SEQUENCE) {}
  int Enter(CBaseTalkPlayer& player) override;

 protected:
  explicit CSequenceContainer(int nodeKind) : CBaseListContainer(nodeKind) {}
};

// rl: one enabled child at random.
class CRandomContainer : public CBaseListContainer {
 public:
  CRandomContainer() : CBaseListContainer(NODE_RANDOM) {}
  int Enter(CBaseTalkPlayer& player) override;
};

// ol: a choice menu of the enabled children.
class COptionalContainer : public CBaseListContainer {
 public:
  COptionalContainer() : CBaseListContainer(NODE_OPTIONAL) {}
  int Enter(CBaseTalkPlayer& player) override;
};

// li: one sentence, optionally with a nested list.
class CSentence : public CSequenceContainer {
 public:
  CSentence();
  void Dump() const override;
  int Enter(CBaseTalkPlayer& player) override;

  std::string text;
  int shownCount = 0;  // passed as a chosen option, as a question, or finished
};

// talk: one talk, its children in order.
class CTalkContainer : public CSequenceContainer {
 public:
  CTalkContainer() : CSequenceContainer(NODE_TALK) {}
};
