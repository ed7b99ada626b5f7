#pragma once
#include <cstdint>
#include <map>

#include "engine/core/handles.h"
#include "ui/qmz/base_list.h"
#include "ui/qmz/sp_codes.h"

namespace qmz {

class CSpriteText;
class CSpriteWnd;
struct SPTEXTPARAM;

// Message arguments: coordinates, ids, or a window pointer (bring to top).
using SPARG = intptr_t;

// A frame-by-frame animation: the callback gets the frame (from 1) and the
// window, and keeps the timeline running while it answers nonzero.
struct SPTIMELINEDESC {
  int id = 0;
  int length = 0;  // stored; the stepping does not read it
  int (*callback)(int frame, CSpriteWnd* window) = nullptr;
};

// A rectangle of the sprite-window library: a main image surface with
// optional extra surfaces, text surfaces of id-keyed items, children nested
// at most three levels below a top-level window, a timeline and event
// sounds. Mouse events come from the kernel (sp_kernel.h) and descend to
// the deepest visible child under the pointer. The window does not own its
// children; it owns its surfaces and text surfaces.
class CSpriteWnd {
 public:
  // State bits.
  static constexpr int kEnabled = 0x1;
  static constexpr int kHovered = 0x4;
  static constexpr int kPressed = 0x8;
  static constexpr int kVisible = 0x80;
  static constexpr int kLatched = 0x400;
  // Style bits.
  static constexpr int kStyleVisible = 0x4;
  static constexpr int kStyleLatch = 0x8;
  static constexpr int kStyleTopmost = 0x20;
  static constexpr int kStyleCheck = 0x20000;
  // Event-sound keys.
  static constexpr int kSoundEnter = 1;
  static constexpr int kSoundPress = 2;
  static constexpr int kDeepestLevel = 3;

  CSpriteWnd();
  CSpriteWnd(const CSpriteWnd&) = delete;
  CSpriteWnd& operator=(const CSpriteWnd&) = delete;

  // 0 for a negative number, a child that does not fit its parent or would
  // lie deeper than level 3. Without a parent the kernel registers it.
  virtual int InitWindow(int x, int y, int width, int height, int style, CSpriteWnd* parent);
  // A null name adds nothing; an empty one a blank surface of the window's
  // size filled with colour; any other loads that image.
  virtual void AddSurface(HOBJECT* handle, const char* imageName, int32_t colour);
  // x and y in the parent's coordinates (the screen's for a top-level window).
  virtual int RouteMouse(int code, int x, int y);
  // The target's OnMessage, searched for through the children.
  virtual int RouteNotify(int code, SPARG a, SPARG b, SPARG c, CSpriteWnd* target);
  virtual int OnMessage(int code, SPARG a, SPARG b, SPARG c = 0, SPARG d = 0);
  // Nonzero swallows a mouse event before it reaches the children.
  virtual int PreTranslate(int code, int x, int y);
  virtual ~CSpriteWnd();
  // A null name stops after InitWindow with 1.
  virtual int Create(const char* imageName, int x, int y, int width, int height, int style, CSpriteWnd* parent);
  virtual void Reset();
  virtual void DestroyContents();
  virtual void BroadcastTick(int steps);
  virtual void Tick(int steps);
  // 1 when no timeline runs or the running one has just finished.
  virtual int StepTimeline(int steps);
  virtual void Enable(int flag);
  virtual void Show(int flag);
  // Loads the main surface from name + "00"; a name that does not fit
  // 32 bytes so formatted is refused and the old surfaces stay.
  virtual void SetImage(const char* name);
  virtual void UpdatePosition();
  virtual void Move(int x, int y);
  virtual void SetParentWnd(CSpriteWnd* parent);
  virtual void SetColorKey(int32_t colourKey, int use);
  virtual void OnMouseMove(int x, int y);
  virtual void OnLButtonDown(int x, int y);
  virtual void OnLButtonUp(int x, int y);
  virtual void OnAfterLButtonUp(int x, int y);  // mouse code 0x10010
  virtual void OnEnter();
  virtual void OnLeave();
  virtual void OnClick(int x, int y);
  virtual void OnAfterClick(int a, int b);  // notification 0x11007
  virtual void Latch();
  virtual void Unlatch();

  // Removes the window from its parent and the kernel, destroys the
  // children (they are not deleted) and frees the contents.
  void Destroy();
  void AddChild(CSpriteWnd* child);
  int RemoveChild(CSpriteWnd* child);
  void BringChildToTop(CSpriteWnd* child);
  void DeleteSurfaces();
  void SetZ(int z);
  // The sprite layer: z in the byte of the level, plus the parent's.
  int CompositeZ() const;
  int HitTest(int x, int y) const;

  // Timelines: 0 for a null callback or an id already present.
  int AddTimeline(const SPTIMELINEDESC& desc);
  int PlayTimeline(int id);
  void StopTimeline();

  // Text surfaces: null when the rectangle does not fit the window.
  CSpriteText* AddSpriteText(int x, int y, int width, int height);
  void AddTextItem(CSpriteText* surface, int id);
  int SetTextDesc(const char* text, const SPTEXTPARAM& param);
  // id -1: the first item of the first surface holding any.
  int SetText(const char* text, int id);

  // The kernel sound played on enter (kSoundEnter) or press (kSoundPress).
  void SetEventSound(int key, int soundId) { eventSounds_[key] = soundId; }
  void SetId(int id) { id_ = id; }

  int State() const { return state_; }
  int Id() const { return id_; }
  int Style() const { return style_; }
  int X() const { return x_; }
  int Y() const { return y_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Level() const { return level_; }
  int Z() const { return z_; }
  int ChildCounter() const { return childCounter_; }
  int32_t ColorKey() const { return colorKey_; }
  HOBJECT MainSurface() const { return mainSurface_; }
  CSpriteWnd* Parent() const { return parent_; }
  CSpriteWnd* HoveredChild() const { return hoveredChild_; }
  const CBaseList<CSpriteWnd*>& Children() const { return children_; }
  const CBaseList<CSpriteText*>& TextSurfaces() const { return textSurfaces_; }
  int TimelineState() const { return timelineState_; }
  int TimelineFrame() const { return timelineFrame_; }
  void GetAbsolutePosition(int* x, int* y) const;
  // The layer of this window's text surfaces.
  int TextLayer() const;

  static constexpr int kTimelineIdle = 0;
  static constexpr int kTimelineRunning = 1;
  static constexpr int kTimelineFinished = 2;

 protected:
  void SetStateBits(int bits, int on);
  // Every surface of the list (main first) and the text surfaces.
  void ApplyLayer();
  void PlayEventSound(int key);
  CSpriteText* FindTextSurface(int id);
  CBaseList<HOBJECT*>& Surfaces() { return surfaces_; }
  void StoreColorKey(int32_t colourKey) { colorKey_ = colourKey; }

  int state_ = kEnabled;
  HOBJECT mainSurface_ = 0;
  int id_ = 0;
  int style_ = 0;

 private:
  int x_ = 0;
  int y_ = 0;
  int width_ = 0;
  int height_ = 0;
  int level_ = 0;
  int z_ = 0;
  int childCounter_ = 0;
  int32_t colorKey_ = 0;
  CSpriteWnd* parent_ = nullptr;
  CSpriteWnd* hoveredChild_ = nullptr;
  CBaseList<CSpriteWnd*> children_;
  CBaseList<CSpriteText*> textSurfaces_;
  CBaseList<HOBJECT*> surfaces_;
  int timelineState_ = kTimelineIdle;
  const SPTIMELINEDESC* currentTimeline_ = nullptr;
  int timelineFrame_ = 0;
  std::map<int, SPTIMELINEDESC> timelines_;
  std::map<int, int> eventSounds_;
};

}  // namespace qmz
