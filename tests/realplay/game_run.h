#pragma once
#include <functional>
#include <map>
#include <string>

#include "tests/support/x_session.h"

namespace realplay {

using xtest::Picture;
using xtest::XSession;

// One line of the game's state log: its NAME=value words.
struct GameState {
  std::map<std::string, std::string> values;

  std::string Get(const std::string& name) const;
  // The number, or fallback when the word is missing.
  int Int(const std::string& name, int fallback = 0) const;
  // "x,y" values, such as circle=.
  bool Pair(const std::string& name, int* a, int* b) const;
};
GameState ParseStateLine(const std::string& line);

// The program run in a sample world under an X session, played through its
// window the way a person plays: pointer and keys, in the picture's own
// 640x480 coordinates wherever the window shows it. It writes its state
// changes to a log (TARNWICK_STATE_LOG), and the play waits on those.
class GameRun {
 public:
  GameRun(const XSession& x, const std::string& world, const std::string& renderPath, bool windowed);
  GameRun(const GameRun&) = delete;
  GameRun& operator=(const GameRun&) = delete;

  // Reads the log's new lines until one satisfies done (the latest state
  // counts too), or the program ends, or seconds pass. Each line read goes
  // to the history.
  bool WaitFor(const std::function<bool(const GameState&)>& done, double seconds);
  // Waits for the next line, whatever it says.
  bool WaitForChange(double seconds);
  // Lets seconds pass, reading the log meanwhile: for what the game does
  // not write, such as a window finishing its opening or a fade.
  void Pause(double seconds);
  const GameState& State() const { return state_; }
  // Every line read so far.
  const std::string& History() const { return history_; }
  // Standard output and error of the program.
  std::string Output() const;

  // Finds the window and where it shows the picture; false when none shows.
  bool FindWindow(double seconds);
  // The picture's point on the screen.
  void ToScreen(int x, int y, int* sx, int* sy) const;
  bool MoveTo(int x, int y) const;
  bool MoveBy(int dx, int dy) const;
  // Moves there, then presses and releases the button (1 left, 3 right).
  bool Click(int x, int y, int button = 1) const;
  // Presses and releases the button where the pointer is.
  bool ClickHere(int button = 1) const;
  // xdotool key names ("d", "Escape", "alt+F4").
  bool KeyDown(const std::string& key) const;
  bool KeyUp(const std::string& key) const;
  bool Key(const std::string& key) const;
  // The picture as the window shows it now, scaled back to 640x480 when the
  // window scales it (nearest pixel); empty when it cannot be grabbed.
  Picture Grab() const;
  // Waits up to seconds for the program to end: its exit status, or -1.
  int WaitForEnd(double seconds);

 private:
  void ReadNewLines();

  const XSession& x_;
  std::string logPath_;
  xtest::Process program_;
  size_t logRead_ = 0;
  std::string partial_;
  std::string history_;
  std::vector<std::string> pending_;
  GameState state_;
  int originX_ = 0, originY_ = 0;
  double scale_ = 1.0;
};

}  // namespace realplay
