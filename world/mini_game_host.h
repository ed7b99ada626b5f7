#pragma once

class CMenuAgency;
class CGuessGamePanel;

// Starts and stops the number-guessing game and routes the engine's mouse
// hooks to its panel (through the one host's global pointer).
class CMiniGameHost {
 public:
  explicit CMiniGameHost(CMenuAgency* root);
  ~CMiniGameHost();
  CMiniGameHost(const CMiniGameHost&) = delete;
  CMiniGameHost& operator=(const CMiniGameHost&) = delete;

  // Installs the mouse hooks and starts a new game in a new panel.
  void Start();
  // Refreshes the panel and updates the overlay, while a panel exists.
  void Tick(int n);
  // 1 without a panel or once the game is won or lost (lost is set then).
  int IsFinished();
  // Deletes the panel and removes the mouse hooks.
  void Stop();

  int running = 0;
  int lost = 0;
  CGuessGamePanel* panel = nullptr;
  CMenuAgency* root;

 private:
  void InstallMouseHooks();
  static void OnPress(int x, int y);
  static void OnMove(int x, int y);
};
