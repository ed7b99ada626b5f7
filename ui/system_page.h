#pragma once
#include <array>
#include <string>

#include "ui/am_page.h"

class CAmButton;
class CAmFancyText;
class CAmScrollBar;
class CGameDataLoader;
class CGameResource;
class CGDItemPool;
class CSystemConfig;

// The message string naming a virtual key; 0 for keys shown as their own
// character.
int KeyNameMessage(int virtualKey);
// The name shown for a key: its message, else the letter or digit itself;
// empty for a key without a name.
std::string KeyName(int virtualKey);

// The main window's settings page: volumes, view and detail distance,
// shadows and effects, the four walk keys, defaults, and the ways to the
// save list and out of the game. It works on the published settings record.
class CSystemPage : public CAmPage {
 public:
  enum Slider : int { kMusic, kSound, kView, kDetail, kSliders };
  enum : int { kWalkKeys = 4 };
  // Hover help kinds the page reports to its window.
  enum : int { kHelpSaveLoad = 4, kHelpQuit = 5, kHelpDefaults = 6 };
  // Posted to the window: the player confirmed quitting to the title.
  static constexpr int kQuitToTitle = 1;
  static constexpr int kHoverHelp = 4;

  CSystemPage(CGameDataLoader* loader, CGameResource* resource, CGDItemPool* itemPool, int allowSave, int allowLoad,
              int allowQuit, CAmObject* owner);
  ~CSystemPage() override;

  // Shows the settings again (after defaults, or when opened).
  void Refresh();

  // A key button waiting takes the next key; Escape keeps it waiting.
  int OnKeyDown(int virtualKey, int down) override;
  int OnMessage(int id, int a, int b, CAmObject* sender) override;

  std::array<CAmScrollBar*, kSliders> sliders{};
  CAmButton* defaultsButton = nullptr;
  CAmButton* saveLoadButton = nullptr;
  CAmButton* quitButton = nullptr;
  std::array<CAmButton*, 2> shadowButtons{};  // on, off
  std::array<CAmButton*, 2> effectButtons{};
  std::array<CAmButton*, kWalkKeys> keyButtons{};
  std::array<CAmFancyText*, kWalkKeys> keyTexts{};
  int waitingKey = -1;
  CGameDataLoader* loader = nullptr;
  CGameResource* resource = nullptr;
  CGDItemPool* itemPool = nullptr;
  int allowSave = 0;
  int allowLoad = 0;
  int allowQuit = 0;

 protected:
  void Build() override;

 private:
  void ShowSwitch(std::array<CAmButton*, 2>& pair, int on);
  void ShowKey(int index);
  void StopWaiting();
  void SliderMoved(CAmScrollBar* bar, int position);
};
