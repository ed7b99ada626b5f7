#pragma once
#include <list>
#include <memory>
#include <string>

#include "battle/ai_monitor.h"

class CBattleSys;

// A timed text of the battle's debug overlay.
struct CONSOLEMSGDESC {
  static constexpr int kForever = 0xffff;

  std::string text;
  int y = 0;
  int x = 0;
  int red = 0, green = 0, blue = 0;
  int framesLeft = 0;
};

// The battle's debug commands, typed into the developer console during a
// battle. The set stays closed until the opening word; open, it heals the
// hero, freezes enemies, shows fighter data, decides the battle and opens
// the AI monitor, and draws its timed texts.
class CKBSConsole {
 public:
  static constexpr char kOpeningWord[] = "MVX.LIFT";
  static constexpr int kInvalidSize = 64;
  static constexpr int kInvalidFrames = 60;

  CKBSConsole();
  explicit CKBSConsole(std::unique_ptr<CAIMonitor> aiMonitor);

  void AddMessage(const char* text, int y, int x, int frames, int red, int green, int blue);
  // 1 when the line was taken.
  int Command(CBattleSys* battle, const char* line);
  void Draw(CBattleSys* battle, int frames);
  void Close() { open = 0; }

  int open = 0;
  int showInfo = 0;
  std::list<CONSOLEMSGDESC> messages;
  std::unique_ptr<CAIMonitor> monitor;

 private:
  // "%s %d": the number after the word; 0 when none.
  static int Argument(const char* line);
  void SetAi(CBattleSys* battle, int id, int enabled);
  void AddPanel(CBattleSys* battle);
};
