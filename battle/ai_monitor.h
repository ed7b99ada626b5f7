#pragma once
#include <map>
#include <string>
#include <vector>

class CFEnemy;

// One text line of a debug overlay.
struct DEBUGTEXTLINE {
  int x = 0;
  int y = 0;
  std::string text;
  int red = 0, green = 0, blue = 0;
};

// A debugging overlay that watches one enemy: its model, unit state, last
// behaviour and behaviour switches, by the names of "Info.txt".
class CAIMonitor {
 public:
  static constexpr int kNameSize = 64;

  // Reads the names from ".\Creature\Battle\Info.txt".
  CAIMonitor();
  explicit CAIMonitor(const char* namesFile);
  ~CAIMonitor();
  CAIMonitor(const CAIMonitor&) = delete;
  CAIMonitor& operator=(const CAIMonitor&) = delete;

  // Enabled, no enemy, no state, no switches. The names stay: they are read
  // once with the monitor.
  void Reset();
  // Watches the enemy (null: none) and takes its switches; their count.
  int Attach(CFEnemy* watched);
  void SetEnabled(int flag) { enabled = flag; }
  int IsEnabled() const { return enabled; }
  // 15 to 32 for the enemy's unit state, 0 for none.
  int GetStateNumber() const;
  // Copies the number's name into buffer (kNameSize bytes); 0 when unknown.
  int GetName(int number, char* buffer) const;
  // The lines centred on x, from y + 20 down, 20 apart.
  void Draw(int x, int y);

  CFEnemy* enemy = nullptr;
  int enabled = 1;
  std::map<int, std::string> names;
  int stateNumber = 0;
  std::vector<int> switches;
  // The lines of the last Draw.
  std::vector<DEBUGTEXTLINE> drawn;

 private:
  void LoadNames(const char* file);
  std::string Name(int number) const;
  void Line(int x, int y, const std::string& text, int red, int green, int blue);
};
