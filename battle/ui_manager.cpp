#include "battle/ui_manager.h"

#include <algorithm>
#include <cstdio>
#include <span>
#include <string>

#include "battle/battle_interface.h"
#include "battle/battle_sys.h"
#include "battle/f_master.h"
#include "battle/kbs_state.h"
#include "battle/reward_desc.h"
#include "engine/media/sprites.h"
#include "ui/qmz/sp_kernel.h"
#include "ui/qmz/sprite_text.h"

namespace {

using qmz::CSpButton;
using qmz::CSpriteWnd;

constexpr int kHidden = 0;
constexpr int kShown = CSpriteWnd::kStyleVisible;
constexpr int kButtonImages = 15;  // main, disabled, hover, pressed
constexpr int kCircleImages = 5;   // main and hover
constexpr int kBarStyle = 30;
constexpr int kFirstHeroKind = 0x10000;
constexpr int kSecondHeroKind = 0x20000;
constexpr int kRightButtonEvent = 18;
constexpr int kHpAttribute = 6;
constexpr int kMpAttribute = 8;
constexpr int kSpecialAttribute = 17;
constexpr int kRewardsColour = 0x13162D;
constexpr int kWhite = 0xFFFFFF;
constexpr float kRewardsOpacity = 0.75f;
// Kernel UI sounds of the buttons: on entering and on pressing.
constexpr int kEnterSound = 1;
constexpr int kPressSound = 2;

struct COMMANDDESC {
  const char* image;
  int id;
  int x, y, width, height;
};
// The special, the item menu, threaten, then the first hero's paralyse,
// snatch and speed modes.
constexpr COMMANDDESC kCommands[CUIManager::kCommandButtons] = {
    {"bif03", CUIManager::kSpecialId, 8, 368, 44, 39},   {"bif04", CUIManager::kItemMenuId, 10, 413, 44, 39},
    {"bif05", CUIManager::kThreatenId, 49, 432, 44, 39}, {"bif06", CUIManager::kParalyseId, 90, 412, 44, 43},
    {"bif01", CUIManager::kSnatchId, 89, 369, 44, 42},   {"bif02", CUIManager::kSpeedId, 52, 349, 40, 43}};
// The command check that enables buttons 0 and 2, and the first hero's 3 to 5.
constexpr int kCommandChecks[CUIManager::kCommandButtons] = {CFMaster::CHECK_SPECIAL,  0,
                                                             CFMaster::CHECK_THREATEN, CFMaster::CHECK_PARALYSE,
                                                             CFMaster::CHECK_SNATCH,   CFMaster::CHECK_SPEED};
constexpr int kGaugeX = 544;
constexpr int kGaugeY[3] = {11, 26, 41};

// Rows of the rewards panel (x, y of the value, its width) and of the level-up panel.
struct TEXTROW {
  int id;
  int x, y, width;
  int height = 20;
};
constexpr TEXTROW kRewardRows[] = {{CUIManager::kLevelText, 140, 40, 80},
                                   {CUIManager::kExperienceText, 140, 68, 80},
                                   {CUIManager::kToNextText, 140, 96, 80},
                                   {CUIManager::kMoneyText, 140, 124, 80},
                                   {CUIManager::kItemNameText, 24, 170, 150},
                                   {CUIManager::kItemNameText + 1, 24, 198, 150},
                                   {CUIManager::kItemNameText + 2, 24, 226, 150},
                                   {CUIManager::kItemCountRowText, 180, 170, 40},
                                   {CUIManager::kItemCountRowText + 1, 180, 198, 40},
                                   {CUIManager::kItemCountRowText + 2, 180, 226, 40}};
constexpr TEXTROW kLevelUpRows[] = {
    {CUIManager::kNewLevelText, 130, 30, 80},     {CUIManager::kHpText, 130, 56, 80},
    {CUIManager::kMpText, 130, 82, 80},           {CUIManager::kPercentText, 130, 108, 80},
    {CUIManager::kAttackText, 130, 134, 80},      {CUIManager::kDefenceText, 30, 166, 80},
    {CUIManager::kDefenceText + 1, 130, 166, 80}, {CUIManager::kDefenceText + 2, 30, 192, 80},
    {CUIManager::kDefenceText + 3, 130, 192, 80}, {CUIManager::kDefenceText + 4, 30, 218, 80},
    {CUIManager::kDefenceText + 5, 130, 218, 80}};

// The mode icon's frame for a hero mode; -1 keeps the current one.
int ModeFrame(int mode) {
  switch (mode) {
    case CFMaster::MODE_PARALYSE: return 2;
    case CFMaster::MODE_SNATCH: return 3;
    case CFMaster::MODE_THREATEN: return 1;
    case CFMaster::MODE_SPECIAL: return 0;
    case CFMaster::MODE_SPEED: return 4;
    default: return -1;
  }
}

// One text surface over the whole window holding the rows, each drawn in colour.
void AddTextRows(CSpriteWnd& window, std::span<const TEXTROW> rows, int32_t colour) {
  qmz::CSpriteText* text = window.AddSpriteText(0, 0, window.Width(), window.Height());
  if (!text) return;
  for (const TEXTROW& row : rows) {
    window.AddTextItem(text, row.id);
    qmz::SPTEXTPARAM param;
    param.id = row.id;
    param.x = row.x;
    param.y = row.y;
    param.width = row.width;
    param.height = row.height;
    param.colours[0] = colour;
    window.SetTextDesc("", param);
  }
}

// A hidden window with the display's colour key.
void AddPanel(CSpriteWnd& window, const char* image, int x, int y, int width, int height, CSpriteWnd* parent) {
  window.Create(image, x, y, width, height, kHidden, parent);
  window.SetColorKey(CUIManager::kColourKey, 1);
}

void SetNumber(CSpriteWnd& window, int id, int value) { window.SetText(std::to_string(value).c_str(), id); }

// A projected point far off the screen (behind the camera) or not a number
// still gives a pixel the windows can hold.
int ScreenPixel(float value) {
  if (!(value == value)) return 0;
  return static_cast<int>(std::clamp(value, -4096.0f, 4096.0f));
}

void SelectColumn(HOBJECT sprite, int column) {
  if (sprite) SetSpriteFrame(sprite, nullptr, &column, nullptr);
}

}  // namespace

CAssX::~CAssX() = default;

CUIManager::~CUIManager() {
  Destroy();
  // The display is the kernel's only user: its button sounds go with it.
  if (created_) qmz::ReleaseSpSounds();
}

void CUIManager::Reset() {
  qmz::CSpControl::Reset();
  for (int i = 0; i < static_cast<int>(rowValues_.size()); ++i) rowValues_[static_cast<size_t>(i)] = 400 - 30 * i;
}

void CUIManager::SetOwner(CBattleSys* battle) {
  owner = battle;
  Create();
}

int CUIManager::Create() {
  if (created_) return 1;
  if (!qmz::CSpControl::Create(nullptr, 0, 0, 640, 480, kShown, nullptr)) return 0;
  created_ = true;
  qmz::RegisterSpSound("bdown", kEnterSound);
  qmz::RegisterSpSound("swordsfs", kPressSound);

  for (int i = 0; i < kCircles; ++i) {
    const bool large = i == kSmallCircles;
    const int side = large ? 48 : 24;
    CSpButton& circle = circles_[static_cast<size_t>(i)];
    circle.Create(large ? "circleb" : "circle", kCircleImages, 0, 0, side, side, kHidden, kFirstCircleId + i, this);
    circle.SetSurfaceColorKey(0, kColourKey, 1);
    circle.Show(0);
  }
  for (int i = 0; i < kCommandButtons; ++i) {
    const COMMANDDESC& c = kCommands[i];
    CSpButton& button = commands_[static_cast<size_t>(i)];
    button.Create(c.image, kButtonImages, c.x, c.y, c.width, c.height, kHidden, c.id, this);
    button.SetSurfaceColorKey(0, kColourKey, 1);
    button.SetEventSound(kSoundEnter, kEnterSound);
    button.SetEventSound(kSoundPress, kPressSound);
    button.Show(0);
  }
  const TEXTROW quickCount[] = {{kItemCountText, 20, 20, 22, 16}};
  AddPanel(commandPanel_, "bif0700", 53, 393, 44, 38, this);
  AddPanel(gaugeFrame_, "bif50100", 511, 3, 124, 51, this);
  const char* bars[3] = {"bif50200", "bif50300", "bif50400"};
  for (int i = 0; i < 3; ++i) {
    qmz::CSpProgressBar& bar = gauges_[static_cast<size_t>(i)];
    bar.Create(bars[i], kGaugeX - gaugeFrame_.X(), kGaugeY[i] - gaugeFrame_.Y(), 80, 5, kHidden, &gaugeFrame_,
               kBarStyle);
    bar.SetColorKey(kColourKey, 1);
  }
  AddPanel(rewards_, "bifvgx", 200, 85, 240, 290, this);
  AddTextRows(rewards_, kRewardRows, kRewardsColour);
  AddPanel(levelUp_, "levelup0", 204, 99, 232, 250, this);
  AddTextRows(levelUp_, kLevelUpRows, kRewardsColour);
  AddPanel(modeIcon_, "bicon", 5, 7, 48, 44, this);
  if (modeIcon_.MainSurface()) SetSpriteGrid(modeIcon_.MainSurface(), 5, 2);
  modeIcon_.AddTimeline({kSpeedTimeline, 90, &CUIManager::SpeedTimelineStep});
  AddPanel(quickItem_, "bift", 2, 5, 42, 38, this);
  AddTextRows(quickItem_, quickCount, kWhite);
  HideAll();
  return 1;
}

void CUIManager::HideAll() {
  EnableGauges(0);
  ShowCommandPanel(-1, 0);
  ShowCircles(0, (1 << kCircles) - 1);
  rewards_.Show(0);
  levelUp_.Show(0);
  modeIcon_.StopTimeline();  // a speed mode cut short must not blink into the next battle
  modeIcon_.Show(0);
  quickItem_.Show(0);
}

void CUIManager::EnableGauges(int on) {
  gaugeFrame_.Show(on);
  for (qmz::CSpProgressBar& bar : gauges_) bar.Show(on);
}

void CUIManager::SetGauge(int attribute, int percent) {
  switch (attribute) {
    case kHpAttribute: gauges_[0].SetPercent(percent); break;
    case kMpAttribute: gauges_[1].SetPercent(percent); break;
    case kSpecialAttribute: gauges_[2].SetPercent(percent); break;
    default: break;
  }
}

void CUIManager::ShowCommandPanel(int heroKind, int show) {
  const bool first = heroKind == kFirstHeroKind;
  const int count = first || heroKind == -1 ? kCommandButtons : 3;
  for (int i = 0; i < count; ++i) commands_[static_cast<size_t>(i)].Show(show);
  if (show) {
    commands_[0].EnableButton(CanUse(kCommandChecks[0]));
    commands_[2].EnableButton(CanUse(kCommandChecks[2]));
    if (first)
      for (int i = 3; i < kCommandButtons; ++i)
        commands_[static_cast<size_t>(i)].EnableButton(CanUse(kCommandChecks[i]));
  }
  commandPanel_.Show(show);
}

void CUIManager::ShowModeIcon(int mode, int flag) {
  modeIcon_.Show(1);
  const int frame = ModeFrame(mode);
  if (frame >= 0 && modeIcon_.MainSurface()) {
    const int row = 1 - flag;
    SetSpriteFrame(modeIcon_.MainSurface(), nullptr, &frame, &row);
  }
  if (FirstHero()) quickItem_.Show(0);
}

void CUIManager::HideModeIcon(int flag) {
  modeIcon_.Show(flag == 1);
  if (FirstHero()) ShowQuickItem(flag == 0);
}

void CUIManager::ShowQuickItem(int show) {
  const int id = show == 1 ? g_battleInterface.GetItemId() : -1;
  if (id == -1) {
    quickItem_.Show(0);
    return;
  }
  SelectColumn(quickItem_.MainSurface(), id);
  char count[16];
  std::snprintf(count, sizeof count, "%02d", std::clamp(g_battleInterface.GetItemCount(), 0, 99));
  quickItem_.SetText(count, kItemCountText);
  quickItem_.Show(1);
}

void CUIManager::PlaceCircles(const VECTOR3* points, int mask) {
  if (!points) return;
  auto centre = [](CSpButton& circle, const VECTOR3& p) {
    circle.Move(ScreenPixel(p.x) - circle.Width() / 2, ScreenPixel(p.y) - circle.Height() / 2);
  };
  if ((mask & 0xFFFF) == 0) {
    centre(circles_[kSmallCircles], points[0]);
    return;
  }
  for (int i = 0; i < kSmallCircles; ++i)
    if (mask & (1 << i)) centre(circles_[static_cast<size_t>(i)], points[i]);
}

void CUIManager::ShowCircles(int show, int mask) {
  if ((mask & 0xFFFF) == 0) {
    circles_[kSmallCircles].Show(show);
    return;
  }
  for (int i = 0; i < kCircles; ++i)
    if (mask & (1 << i)) circles_[static_cast<size_t>(i)].Show(show);
}

void CUIManager::Pause() {
  EnableGauges(0);
  quickItem_.Show(0);
}

void CUIManager::Resume() {
  EnableGauges(1);
  if (FirstHero()) ShowQuickItem(1);
}

void CUIManager::ShowRewards(const REWARDDESC& reward) {
  SelectColumn(rewards_.MainSurface(), owner && owner->hero && owner->hero->kind == kSecondHeroKind ? 1 : 0);
  SetNumber(rewards_, kLevelText, reward.level);
  SetNumber(rewards_, kExperienceText, reward.experience);
  SetNumber(rewards_, kToNextText, reward.toNextLevel);
  SetNumber(rewards_, kMoneyText, reward.money);
  auto item = reward.items.begin();
  for (int k = 0; k < 3; ++k) {
    const bool has = item != reward.items.end();
    rewards_.SetText(has ? item->first.c_str() : "", kItemNameText + k);
    rewards_.SetText(has ? std::to_string(item->second).c_str() : "", kItemCountRowText + k);
    if (has) ++item;
  }
  rewards_.Show(1);
  if (rewards_.MainSurface()) SetSpriteAlpha(rewards_.MainSurface(), kRewardsOpacity);
  if (reward.newLevel) {
    SetNumber(levelUp_, kNewLevelText, reward.newLevel);
    SetNumber(levelUp_, kHpText, reward.hp);
    SetNumber(levelUp_, kMpText, reward.mp);
    SetNumber(levelUp_, kPercentText, reward.percent);
    SetNumber(levelUp_, kAttackText, reward.attackPower);
    for (int i = 0; i < 6; ++i) SetNumber(levelUp_, kDefenceText + i, reward.defence[i]);
  }
  pendingLevelUp = reward.newLevel;
}

int CUIManager::RewardsDone() {
  rewards_.Show(0);
  levelUp_.Show(0);
  if (pendingLevelUp == 0) return 1;
  pendingLevelUp = 0;
  levelUp_.Show(1);
  return 0;
}

void CUIManager::StartSpeedTimeline() { modeIcon_.PlayTimeline(kSpeedTimeline); }

void CUIManager::StopSpeedTimeline() { modeIcon_.StopTimeline(); }

int CUIManager::SpeedTimelineStep(int frame, CSpriteWnd* icon) {
  auto* display = icon ? dynamic_cast<CUIManager*>(icon->Parent()) : nullptr;
  if (!display) return 0;
  if (frame == 1) display->blinkCounter_ = 0;
  if (frame > 150 && frame < 220) {
    icon->Show(display->blinkCounter_ <= 3);
    if (++display->blinkCounter_ > 8) display->blinkCounter_ = 0;
  }
  // The speed mode's time is up: the hero's right button ends it.
  if (frame >= 220) display->SendToState(kRightButtonEvent, 0, 0);
  return frame < 240;
}

void CUIManager::OnChildClick(int id) { OnNotify(id); }

void CUIManager::OnNotify(int id) {
  if (id >= kFirstCircleId && id <= kLargeCircleId) {
    SendToState(kButtonEvent, id - kFirstCircleId, kFromDisplay);
    return;
  }
  for (CSpButton& button : commands_)
    if (button.Id() == id) {
      lastCommand_ = &button;
      SendToState(kButtonEvent, id, kFromDisplay);
      return;
    }
}

bool CUIManager::FirstHero() const { return owner && owner->hero && owner->hero->kind == kFirstHeroKind; }

int CUIManager::CanUse(int check) const { return owner && owner->hero ? owner->hero->CanUse(check) : 0; }

void CUIManager::SendToState(int type, int a, int b) {
  if (owner && owner->state && !owner->paused) owner->state->Input(owner, type, a, b);
}
