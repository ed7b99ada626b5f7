#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "talk/list_container.h"
#include "talk/talk_expr.h"

// Player states.
enum : int {
  TALKSTATE_STEPPING = 1,
  TALKSTATE_CHOOSING = 2,
  TALKSTATE_TYPING = 3,
  TALKSTATE_IDLE = 4,
  TALKSTATE_PAGE_FULL = 6,
  TALKSTATE_NOT_LOADED = 7,
  TALKSTATE_LOADED = 8,
  TALKSTATE_HELD = 9,
  TALKSTATE_PAUSED = 10,
};

// The talk interpreter. It is the root of the talk document: its children are
// the talks in file order and its own attributes are the defaults every talk
// starts from (reset at each load, then changed by the markup's <define>
// block). It keeps the names of the nodes and the talk variables.
class CBaseTalkPlayer : public CBaseListContainer {
 public:
  CBaseTalkPlayer();
  ~CBaseTalkPlayer() override;

  // Dumps every talk.
  void Dump() const override;
  // The root is never entered: does nothing and answers 1.
  int Enter(CBaseTalkPlayer& player) override;

  // Loads a talk markup file with its include files into a new document.
  // 1 when nothing was reported (state 8), 0 otherwise; the talks read so
  // far stay usable either way and the messages are in errors.
  int Load(const std::string& path);

  // Counts an error of the load and keeps its message.
  void ReportError(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Enters node under name; a name already present is reported, answers 0.
  int AddAname(const std::string& name, CBaseListContainer* node);
  CBaseListContainer* FindAname(const std::string& name) const;
  // Takes variable under name; a name already present is reported and the
  // new variable dropped, answers 0.
  int AddVariable(const std::string& name, std::unique_ptr<CVarExpr> variable);
  CVarExpr* FindVariable(const std::string& name) const;
  // Appends a finished talk.
  void AddTalk(std::unique_ptr<CTalkContainer> talk);
  // Keeps a talk whose end tag was malformed: it is not one of the talks,
  // but the names entered from inside it must stay valid.
  void KeepDetachedTalk(std::unique_ptr<CTalkContainer> talk);

  int state = TALKSTATE_NOT_LOADED;
  float talkSpeed = 0;  // typing speed every talk starts with
  std::map<std::string, CBaseListContainer*> anames;
  std::map<std::string, std::unique_ptr<CVarExpr>> variables;
  int depth = 0;
  std::vector<CBaseListContainer*> nodeStack;
  int errorCount = 0;
  std::vector<std::string> errors;
  CBaseListContainer* current = nullptr;
  std::vector<std::unique_ptr<CTalkContainer>> detachedTalks;

 private:
  // Deletes the talks before the variables their expressions name.
  void ClearDocument();
};
