#pragma once

class CGame;

// The developer console.
// MINIMAL: it has no commands and draws nothing.
class CDebugConsole {
 public:
  explicit CDebugConsole(CGame* game) : game(game) {}
  void DrawOverlay() {}

  CGame* game;
};
