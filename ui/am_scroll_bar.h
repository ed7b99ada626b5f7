#pragma once
#include <string>
#include <vector>

#include "ui/am_object.h"

class CAmButton;
class CAmDragObj;

// The looks of a scroll bar.
struct SCROLLBARSKINDESC {
  int orientation = 0;  // 0 vertical, 1 horizontal
  std::string backImage;
  std::string forwardImage;
  std::string thumbImage;
  int buttonWidth = 0;
  int buttonHeight = 0;
  int thumbWidth = 0;
  int thumbHeight = 0;
  int startOverlap = 0;  // how far the thumb's travel reaches into the back button
  int endOverlap = 0;    // and into the forward button
  int thumbOffset = 0;   // the thumb's position across the bar
  int pressSound = 0;    // UI sound keys
  int hoverSound = 0;
};

extern std::vector<SCROLLBARSKINDESC> g_amScrollBarSkins;
// Appends a copy; its index.
int RegisterScrollBarSkin(const SCROLLBARSKINDESC& skin);

// Two repeating step buttons, a draggable thumb and page steps on the track.
// A step runs over sub-steps updates so the thumb glides; the bar reports
// AMM_SCROLL_PREVSTEP / AMM_SCROLL_NEXTSTEP on every update of a step and
// AMM_SCROLLING for thumb drags and page steps, each with (position,
// sub-position). It swallows every message of its parts.
class CAmScrollBar : public CAmObject {
 public:
  static constexpr int kBackButtonId = static_cast<int>(0xFEFFFFF1u);
  static constexpr int kForwardButtonId = static_cast<int>(0xFEFFFFF2u);
  static constexpr int kThumbId = static_cast<int>(0xFEFFFFF3u);
  enum Mode { kIdle = 0, kSteppingBack = 1, kSteppingForward = 2, kThumbDragged = 3 };

  // A skin index outside the registry raises std::out_of_range.
  CAmScrollBar(int id, int skinIndex, int length, CAmObject* parent);
  ~CAmScrollBar() override;

  // Above 1: the position rescaled, the bar usable. Otherwise one position,
  // the bar locked and its buttons invisible.
  void SetRange(int newCount);
  // At least 1.
  void SetSubSteps(int n);
  // A forward step below 0 takes the back step.
  void SetPageSteps(int back, int forward);
  // No clamp and no message.
  void SetBarPosition(int n);

  void OnTick(int steps) override;
  void OnLButtonDown(int x, int y) override;
  void SetLocked(int flag) override;
  int OnMessage(int id, int a, int b, CAmObject* sender) override;

  int orientation = 0;
  int mode = kIdle;
  CAmButton* backButton = nullptr;
  CAmButton* forwardButton = nullptr;
  CAmDragObj* thumb = nullptr;
  int buttonWidth = 0;
  int buttonHeight = 0;
  int thumbWidth = 0;
  int thumbHeight = 0;
  int length = 0;  // the track between the buttons
  int thumbHomeX = 0;
  int thumbHomeY = 0;
  int travel = 0;
  int count = 1;
  int subSteps = 5;
  int position = 0;
  int subPosition = 0;
  int pageBack = 0;
  int pageForward = 0;

 private:
  void PlaceThumb();
  void FollowThumb();
  // Along the bar: y for a vertical bar, x for a horizontal one.
  int Along(int x, int y) const { return orientation == 0 ? y : x; }
  int Across(int x, int y) const { return orientation == 0 ? x : y; }
};
