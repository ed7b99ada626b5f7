#pragma once
#include <array>

#include "engine/core/math3d.h"
#include "ui/qmz/sp_button.h"
#include "ui/qmz/sp_control.h"
#include "ui/qmz/sp_progress_bar.h"
#include "ui/qmz/sprite_wnd.h"

class CBattleSys;
struct REWARDDESC;

// The mode icon's window.
class CAssX : public qmz::CSpriteWnd {
 public:
  ~CAssX() override;
};

// The battle's heads-up display: the hero's three gauges, the command panel,
// the direction circles of the targeted attack, the mode icon, the quick-item
// counter and the rewards and level-up panels. Clicks on its buttons go back
// to the battle's current state as left-button events with b = 0xFFFF.
class CUIManager : public qmz::CSpControl {
 public:
  static constexpr int kCommandButtons = 6;
  static constexpr int kSmallCircles = 6;
  static constexpr int kCircles = 7;  // the sixth small circle, then the large one
  // Notification ids: circles 0..5 and the large circle, then the commands.
  static constexpr int kFirstCircleId = 131173;
  static constexpr int kLargeCircleId = 131179;
  static constexpr int kItemMenuId = 131272;
  static constexpr int kSnatchId = 131273;
  static constexpr int kParalyseId = 131274;
  static constexpr int kThreatenId = 131275;
  static constexpr int kSpeedId = 131276;
  static constexpr int kSpecialId = 131277;
  // The left-button event the buttons send, and the b that marks it as ours.
  static constexpr int kButtonEvent = 16;
  static constexpr int kFromDisplay = 0xFFFF;
  static constexpr int kSpeedTimeline = 100;
  static constexpr int kColourKey = 0xFF00FF;
  // Text items: the quick-item count, the rewards panel, the level-up panel.
  static constexpr int kItemCountText = 0x80001;
  static constexpr int kLevelText = 0x80001;
  static constexpr int kExperienceText = 0x80002;
  static constexpr int kToNextText = 0x80003;
  static constexpr int kMoneyText = 0x80004;
  static constexpr int kItemNameText = 0x80005;      // three rows
  static constexpr int kItemCountRowText = 0x80008;  // three rows
  static constexpr int kNewLevelText = 0x8000B;
  static constexpr int kHpText = 0x8000C;
  static constexpr int kMpText = 0x8000D;
  static constexpr int kPercentText = 0x8000E;
  static constexpr int kAttackText = 0x8000F;
  static constexpr int kDefenceText = 0x80010;  // six rows

  CUIManager() = default;
  ~CUIManager() override;
  CUIManager(const CUIManager&) = delete;
  CUIManager& operator=(const CUIManager&) = delete;

  // Clears the window as the library does, then the six row values.
  void Reset() override;
  // The end of a battle: gauges, command panel, circles, panels, icon and
  // counter all hidden.
  virtual void HideAll();
  // A click on one of the display's buttons.
  virtual void OnNotify(int id);
  // Builds every window once; a second call changes nothing.
  using qmz::CSpControl::Create;
  virtual int Create();
  // The rewards panel of a won battle; a level-up is kept for RewardsDone.
  virtual void ShowRewards(const REWARDDESC& reward);

  void SetOwner(CBattleSys* battle);
  void EnableGauges(int on);
  // Attribute 6 HP, 8 MP, 17 the special gauge; other attributes do nothing.
  void SetGauge(int attribute, int percent);
  // Hero kind 0x10000 (the first hero) or -1 shows six buttons, any other three.
  void ShowCommandPanel(int heroKind, int show);
  void ShowModeIcon(int mode, int flag);
  void HideModeIcon(int flag);
  // Shown only for show 1 with a quick item selected.
  void ShowQuickItem(int show);
  // Circle i (bit i of the low 16 bits, i < 6) centred on points[i], the
  // points being screen positions; no bits: the large circle on points[0].
  void PlaceCircles(const VECTOR3* points, int mask);
  // The circles of the low mask bits (bit 6 the large one); no bits: the large one.
  void ShowCircles(int show, int mask);
  void Pause();
  void Resume();
  // A click on the rewards: 1 when finished, 0 when the level-up panel
  // was brought up instead.
  int RewardsDone();
  void StartSpeedTimeline();
  void StopSpeedTimeline();

  const qmz::CSpButton& CommandButton(int index) const { return commands_[static_cast<size_t>(index)]; }
  const qmz::CSpButton& Circle(int index) const { return circles_[static_cast<size_t>(index)]; }
  const qmz::CSpProgressBar& Gauge(int index) const { return gauges_[static_cast<size_t>(index)]; }
  const qmz::CSpriteWnd& GaugeFrame() const { return gaugeFrame_; }
  const qmz::CSpriteWnd& CommandPanel() const { return commandPanel_; }
  const qmz::CSpriteWnd& RewardsWindow() const { return rewards_; }
  const qmz::CSpriteWnd& LevelUpWindow() const { return levelUp_; }
  const CAssX& ModeIcon() const { return modeIcon_; }
  const qmz::CSpriteWnd& QuickItemWindow() const { return quickItem_; }
  const qmz::CSpButton* LastCommand() const { return lastCommand_; }
  const std::array<int, 6>& RowValues() const { return rowValues_; }

  CBattleSys* owner = nullptr;
  int pendingLevelUp = 0;  // the new level still to be shown

 protected:
  void OnChildClick(int id) override;

 private:
  static int SpeedTimelineStep(int frame, qmz::CSpriteWnd* icon);
  // The first hero is fighting (hero kind 0x10000).
  bool FirstHero() const;
  int CanUse(int check) const;
  // The event goes to the battle's current state, unless the battle is paused.
  void SendToState(int type, int a, int b);

  qmz::CSpriteWnd rewards_;
  qmz::CSpriteWnd levelUp_;
  qmz::CSpriteWnd gaugeFrame_;
  std::array<qmz::CSpProgressBar, 3> gauges_;  // HP, MP, special
  std::array<qmz::CSpButton, kCommandButtons> commands_;
  qmz::CSpriteWnd commandPanel_;
  CAssX modeIcon_;
  qmz::CSpriteWnd quickItem_;
  std::array<qmz::CSpButton, kCircles> circles_;
  qmz::CSpButton* lastCommand_ = nullptr;
  std::array<int, 6> rowValues_{};
  int blinkCounter_ = 0;
  bool created_ = false;
};
