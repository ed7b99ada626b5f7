#pragma once
// The developer console: a one-line command console typed with Shift held.
// It stays locked until the access code is typed; then Return runs commands
// and the overlay shows diagnostics over every frame.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/handles.h"

class CGame;

class CDebugConsole {
 public:
  static constexpr int kLineSize = 32;
  static constexpr int kMessageFrames = 60;

  explicit CDebugConsole(CGame* game) : game(game) {}
  ~CDebugConsole();
  CDebugConsole(const CDebugConsole&) = delete;
  CDebugConsole& operator=(const CDebugConsole&) = delete;

  // A virtual-key code going down (down 1) or up.
  void OnKey(int key, int down);
  // With set, formats the message and shows it for 60 frames; every call
  // draws a running message and counts it down.
  void ShowMessage(int set, const char* format, ...) __attribute__((format(printf, 3, 4)));
  void ClearLine();
  void DrawOverlay();
  // The "sys" command: sys(Q,name), sys(S,name,value) or sys(E,name).
  void AccessVariable(const char* text);
  // Runs a line as a command (cheat mode).
  void RunCommand();

  // A text the overlay drew in its last frame.
  struct OverlayText {
    int x;
    int y;
    std::string text;
    int red, green, blue;
  };

  char line[kLineSize] = {};
  std::string message;
  int messageTimer = 0;
  int16_t displayFlags = 0;
  uint8_t showFrameRate = 0;
  uint8_t showSceneName = 0;
  uint8_t lineLength = 0;
  uint8_t showNpcName = 0;
  uint8_t showFoeName = 0;
  uint8_t cameraToggle = 0;
  uint8_t sceneHidden = 0;
  uint8_t cheatMode = 0;
  CGame* game;
  std::vector<OverlayText> overlay;

 private:
  void Draw(int x, int y, const std::string& text, int red, int green, int blue);
  // The walker's and the camera's places and angles, and the mouse.
  void DrawPositions();
  // "terrain": the scene's ground drawn as white wires, or hidden again.
  void ToggleTerrainWires();
  // 1 when the event action ran.
  void RunAction(int type, int argument, int value);
  int frameCount = 0;
  double frameStart = 0;
  HOBJECT textSprite = 0;
  HOBJECT wireMaterial = 0;  // retained: it outlives the scenes it is given to
};
