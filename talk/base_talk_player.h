#pragma once
#include <cstdio>
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

// Screen rectangle of an option drawn by the window, edges included.
struct OPTIONRECT {
  int left;
  int top;
  int right;
  int bottom;
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
  // Starts the talk at index among the talks; none outside them.
  virtual CBaseListContainer* StartTalkAt(int talkIndex);

  // Display and input: empty here, the talk window fills them in.
  virtual void ShowOptions(int selected);
  // A sentence spoken by the player takes the player's name as speaker.
  virtual void ShowSentence();
  virtual void EndSentence();
  // Empties the node stack; state 4. current stays.
  virtual void End();
  // 4 when no talk runs; otherwise steps when state is 1; answers state.
  virtual int Update();
  virtual void OnClick(int x, int y);
  virtual void SetScreen(int width, int height);
  virtual void Pause();
  virtual void Resume();

  // Loads a talk markup file with its include files into a new document.
  // 1 when nothing was reported (state 8), 0 otherwise; the talks read so
  // far stay usable either way and the messages are in errors.
  int Load(const std::string& path);

  // Starts the node whose aname is name (any node): state 1 and the node
  // reset. Answers the node, or none (state then stays as it was).
  CBaseListContainer* StartTalk(const std::string& name);
  // At an optional list, enters its child at index (state 1) and answers 1;
  // otherwise 0 and nothing changes.
  int Choose(int childIndex);
  // The interpreter: walks until it needs the window or the player. Answers
  // the node it stopped at, none when the talk ended.
  CBaseListContainer* Step();
  void SetPlayerName(const std::string& name) { playerName = name; }

  // The "Talk Data" block of a saved game: every talk variable by name.
  // Writes at the file's position; answers the bytes written.
  int WriteTalkData(std::FILE* file);
  // Answers 0 and changes nothing when the magic differs or the block is
  // short or malformed; otherwise the variables named in it take their
  // values (missing ones are created) and it answers the block's length.
  int ReadTalkData(std::FILE* file);

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
  int paused = 0;
  std::string talkName;
  std::string playerName = kBig5PlayerName;
  float refWidth = 800;  // markup coordinates are for this screen
  float refHeight = 600;
  float talkSpeed = 0;  // typing speed every talk starts with
  int screenWidth = 640;
  int screenHeight = 480;
  float xScale = 0.8f;
  float yScale = 0.8f;
  std::map<std::string, CBaseListContainer*> anames;
  std::map<std::string, std::unique_ptr<CVarExpr>> variables;
  int depth = 0;
  std::vector<CBaseListContainer*> nodeStack;
  int errorCount = 0;
  std::vector<std::string> errors;
  CBaseListContainer* current = nullptr;
  std::vector<OPTIONRECT> optionRects;
  int selectedOption = -1;
  std::vector<std::unique_ptr<CTalkContainer>> detachedTalks;

 private:
  // Pops the node stack; current becomes the new top, or none.
  void Pop();
  void Push(CBaseListContainer* node);
  // Fires the left node's event and script and follows its func, link or
  // switch. Answers 0 when the talk ended.
  int Leave(CBaseListContainer* node);
  // Deletes the talks before the variables their expressions name.
  void ClearDocument();
};
