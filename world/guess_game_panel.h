#pragma once
#include <string>

#include "components/b_sprite.h"
#include "world/text_label.h"

// The number-guessing game in a panel at the bottom of the screen: four
// different hidden numbers from 1 to 10, four picks per round, six rounds.
class CGuessGamePanel : public CBSprite {
 public:
  static constexpr int kLabels = 7;
  static constexpr int kButtons = 10;
  static constexpr int kSlots = 4;
  static constexpr int kRounds = 6;
  enum State { kLost = -1, kWon = 0, kRunning = 1 };

  CGuessGamePanel();

  // Ignored for an empty name; loads, places and hides the image and keeps
  // the values for reloading.
  void LoadBackground(const char* directory, const char* name, int newWidth, int newHeight, int newX, int newY);
  void NewGame();
  // Redraws the buttons in their colours; Ctrl and F12 held show the secret.
  void Refresh();
  void OnMouseMove(int mouseX, int mouseY);
  void OnClick(int mouseX, int mouseY);

  CTextLabel labels[kLabels];
  int shownPicks = 0;
  CTextButton buttons[kButtons];
  int secret[kSlots] = {-1, -1, -1, -1};
  int picks[kSlots] = {-1, -1, -1, -1};
  int pickIndex = 0;
  int allPicked = 0;
  int exact = 0;
  int total = 0;
  int resultShown = 0;
  int state = kRunning;
  std::string secretText;
  int roundsLeft = kRounds;

 private:
  void DrawSecret();
  void LayoutButtons();
  void LayoutLabels();
  void ResetRound();
  // Hide, release and load the remembered image again, half transparent.
  void Reload();
  void Take(int button);
  void ShowResult();
  void DrawLine(int x, int y, const char* text, int r, int g, int b);
  void DrawMessage(CTextLabel& label, int message);

  std::string backDirectory;
  std::string backName;
  int backWidth = 0;
  int backHeight = 0;
  int backX = 0;
  int backY = 0;
};
