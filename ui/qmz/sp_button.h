#pragma once
#include "ui/qmz/sp_control.h"

namespace qmz {

class CSpriteText;

// An image button: main, disabled, hover and pressed images, an optional
// caption whose colour entries follow the state (0 normal, 1 disabled,
// 2 hover, 3 pressed, 4 clicked) and, with style 0x20000, a check mode in
// which the owner answers a click with SetChecked.
class CSpButton : public CSpControl {
 public:
  // Image flags: which of the images name + "00" to "04" to load.
  static constexpr int kImageMain = 0x1;
  static constexpr int kImageDisabled = 0x2;
  static constexpr int kImageHover = 0x4;
  static constexpr int kImagePressed = 0x8;
  static constexpr int kImageExtra = 0x10;
  // UpdateState's mode that chooses the image anew.
  static constexpr int kChooseSurface = 0x10000;

  CSpButton() = default;
  ~CSpButton() override;

  // 0 for a null name, a name that does not fit 64 bytes with its number,
  // a sibling that has the id, or a rectangle InitWindow refuses.
  int Create(const char* imageName, int imageFlags, int x, int y, int width, int height, int style, int id,
             CSpriteWnd* parent);
  using CSpControl::SetImage;
  // Reloads the images; a name that does not fit is refused.
  void SetImage(const char* imageName, int imageFlags);
  void UpdateState(int mode) override;
  void EnableButton(int flag);
  void Show(int flag) override;
  virtual void SetChecked(int flag);

  void OnMouseMove(int x, int y) override;
  void OnLButtonDown(int x, int y) override;
  void OnLButtonUp(int x, int y) override;
  void OnAfterLButtonUp(int x, int y) override;
  void OnEnter() override;
  void OnLeave() override;
  void OnClick(int x, int y) override;

  // The caption is not owned.
  void SetCaption(CSpriteText* caption) { caption_ = caption; }
  int IsChecked() const { return checkBits_ & kChecked; }
  HOBJECT DisabledSurface() const { return disabledSurface_; }
  HOBJECT HoverSurface() const { return hoverSurface_; }
  HOBJECT PressedSurface() const { return pressedSurface_; }
  HOBJECT ExtraSurface() const { return extraSurface_; }

 private:
  static constexpr int kChecked = 0x1;
  static constexpr int kCheckMode = 0x2;

  int LoadImages(const char* imageName, int imageFlags);
  // Caption colours and the shown image, skipped while latched.
  void DrawCaption(int entryIndex);
  void Refresh();
  int IsLatched() const { return state_ & kLatched; }

  HOBJECT disabledSurface_ = 0;
  HOBJECT hoverSurface_ = 0;
  HOBJECT pressedSurface_ = 0;
  HOBJECT extraSurface_ = 0;  // loaded, never shown
  CSpriteText* caption_ = nullptr;
  int checkBits_ = 0;
};

}  // namespace qmz
