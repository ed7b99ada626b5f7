#pragma once
#include <functional>

#include "ui/qmz/sprite_wnd.h"

namespace qmz {

// A window that reports its mouse events to its parent as notifications
// (a = its id) and hands its children's notifications to the handlers below.
class CSpControl : public CSpriteWnd {
 public:
  // Called first with every message the control receives.
  using NotifyCallback = std::function<void(int code, SPARG a, SPARG b)>;

  CSpControl() = default;
  ~CSpControl() override;

  int OnMessage(int code, SPARG a, SPARG b, SPARG c = 0, SPARG d = 0) override;
  void OnLButtonDown(int x, int y) override;
  void OnLButtonUp(int x, int y) override;
  void OnAfterLButtonUp(int x, int y) override;
  void OnClick(int x, int y) override;
  void OnAfterClick(int a, int b) override;
  void DestroyContents() override;

  // Stores the key and applies it to the surface, or to every surface for 0.
  void SetSurfaceColorKey(HOBJECT surface, int32_t colourKey, int use);
  void SetNotifyCallback(NotifyCallback callback) { notify_ = std::move(callback); }
  HOBJECT CurrentSurface() const { return currentSurface_; }

  virtual void UpdateState(int mode);
  // Handlers of the children's notifications; id is the sender's.
  virtual void OnChildOwner14(int id, int a, int b);
  virtual void OnChildDown(int id, int a, int b);
  virtual void OnChildUp(int id, int a, int b);
  virtual void OnChildAfterUp(int id, int a, int b);
  virtual void OnChildSpare(int id, int a, int b);
  virtual void OnChildClick(int id);
  virtual void OnChildAfterClick(int id);
  virtual void OnChildOwner11(int id);
  virtual void OnChildOwner12(int id);
  virtual void OnChildOwner18000(int id, int a, int b);
  virtual void OnChildCheck(int id);
  virtual void OnChildOwner13(int id, int a, int b);
  virtual void OnChildOwner0C(int id);
  virtual int QueryChild(int a, int b);

 protected:
  // Sends code to the parent with a = this control's id.
  void NotifyParent(int code);

  HOBJECT currentSurface_ = 0;

 private:
  NotifyCallback notify_;
};

}  // namespace qmz
