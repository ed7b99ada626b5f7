#pragma once

// The game object's talk host for a screen of the given size.
// MINIMAL: talk files are not loaded and no talk ever runs (Load 0, Update 0).
class CTalkHost {
 public:
  CTalkHost(int width, int height) : width(width), height(height) {}

  int Load(const char*) { return 0; }
  // 1 while a talk runs.
  int Update() { return 0; }
  void StartTalk(const char*) {}
  void ShowWindow(int, int) {}
  void PausePlayer() {}
  void ResumePlayer() {}

  int width;
  int height;
  int talking = 0;
  int state = 0;  // 10 asks the game to resume the player
  int event = 0;
};
