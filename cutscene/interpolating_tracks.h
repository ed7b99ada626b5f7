#pragma once
#include <memory>

#include "cutscene/key_manager.h"
#include "cutscene/keys.h"
#include "engine/core/math3d.h"

class SVisual;

// Key tracks that change their actor gradually between keys. A segment runs
// from the frame after an Advance that found a new target key up to that
// key's frame; without jump the change is spread evenly over the segment,
// with jump it happens whole at the segment's end. A reset aims at the first
// key, so its value is reached in one step at its frame.
class SKMGradual : public SKeyManager {
 public:
  explicit SKMGradual(std::unique_ptr<SKey> firstKey) : SKeyManager(std::move(firstKey)) {}

  SKey* previousKey = nullptr;
  SKey* targetKey = nullptr;  // set by the first reset; until then the track does nothing
  int jump = 1;
  int framesLeft = 0;  // Applies still to do in the segment

 protected:
  // Cursor -1, no previous key, the first key as target, jump 1, frames left
  // = first key frame + 1.
  void ResetCommon();
  // Moves the cursor to b = cursor + 1 and, once b is within lead frames of
  // the next key frame, makes the key after b the target (the old target
  // becomes the previous key). ADVANCE_NEW_TARGET when it did. The cursor is
  // past the end at b > last key frame, or at b >= it with lastInclusive.
  int SeekTarget(int lead, bool lastInclusive);
  // Whether this Apply takes a step: with jump only the segment's last one,
  // without jump every Apply until frames left runs out.
  bool CountDown();
  // With jump: a step only when the target key's frame is the frame played.
  bool FrameTest();
  // The share of a change one step takes.
  float Share(float change) const { return jump ? change : change / static_cast<float>(framesLeft); }
};

// Opacity of a visual actor.
class SKMOpaque : public SKMGradual {
 public:
  using SKMGradual::SKMGradual;
  int Code() const override { return KEY_OPAQUE; }
  int Apply() override;
  int Advance() override;
  void Reset() override;

  float step = 0;
};

// Turns a visual actor about its own vertical axis toward the key's forward
// direction.
class SKMRotate : public SKMGradual {
 public:
  using SKMGradual::SKMGradual;
  int Code() const override { return KEY_ROTATE; }
  int Apply() override;
  int Advance() override;
  void Reset() override;

  float angleStep = 0;  // degrees
};

// Turns a visual actor in place toward the whole orientation of the key,
// keeping it upright.
class SKMCRotate : public SKMGradual {
 public:
  using SKMGradual::SKMGradual;
  int Code() const override { return KEY_CROTATE; }
  // 1 when there is nothing to turn.
  int Apply() override;
  int Advance() override;
  void Reset() override;

  float angleStep = 0;  // degrees
  QUATERNION stepRotation{1, 0, 0, 0};

 private:
  void SetUpToward(const SKeyCRotate& key);
};

// Moves a visual actor to the key's end position, optionally turning it
// toward the way of travel.
class SKMTranslate : public SKMGradual {
 public:
  using SKMGradual::SKMGradual;
  int Code() const override { return KEY_TRANSLATE; }
  int Apply() override;
  int Advance() override;
  void Reset() override;

  VECTOR3 step{};
  int rotateFramesLeft = 0;
  float rotateStep = 0;  // degrees
  int autoRotate = 0;
};

// A camera's field of view.
class SKMFOV : public SKMGradual {
 public:
  using SKMGradual::SKMGradual;
  int Code() const override { return KEY_FOV; }
  int Apply() override;
  int Advance() override;
  void Reset() override;

  float step = 0;  // degrees
};

// A board's emissive colour.
class SKMAdjustMaterialColor : public SKMGradual {
 public:
  using SKMGradual::SKMGradual;
  int Code() const override { return KEY_ADJUSTMCOLOR; }
  int Apply() override;
  int Advance() override;
  void Reset() override;

  float color[3] = {};  // the track's copy of the board's emissive colour
  float step[3] = {};

 private:
  // Reads the board's colour and aims the step at the key's.
  void Aim(const SKeyAdjustMaterialColor& key);
};

// The point a camera aims at, relative to its target. The offset moves evenly
// from the value last set to the key's.
class SKMTargetOffset : public SKMGradual {
 public:
  using SKMGradual::SKMGradual;
  int Code() const override { return KEY_TARGETOFFSET; }
  int Apply() override;
  int Advance() override;
  void Reset() override;

  VECTOR3 offset{};  // the offset last set; the camera starts at zero
  VECTOR3 offsetStep{};
};

// Which actor a camera follows.
class SKMLockTarget : public SKMGradual {
 public:
  using SKMGradual::SKMGradual;
  int Code() const override { return KEY_LOCKTARGET; }
  int Apply() override;
  int Advance() override;
  void Reset() override;

  SActor* targetActor = nullptr;  // null: the camera stops following

 private:
  SActor* FindTarget(const SKeyLockTarget& key) const;
};

// Turns the actor about its own Z axis by the angle between its up vector and
// the upright up vector for its forward direction; nothing when they agree.
void LevelActorRoll(SVisual* actor);
