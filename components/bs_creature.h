#pragma once
#include <string>
#include <vector>

#include "engine/core/handles.h"
#include "engine/core/math3d.h"

// The small interface through which the game drives any creature. The
// defaults do nothing and answer 0; CGCBMixCreature supplies the real ones.
class IBsCreature {
 public:
  static constexpr int kNameSize = 256;

  virtual ~IBsCreature() = default;

  // World position and unit axes of the root node; outputs optional.
  virtual void GetTransform(VECTOR3* /*position*/, VECTOR3* /*forward*/, VECTOR3* /*up*/) {}
  // The engine node of the object or part of that name (case-insensitive),
  // the root node for a null name; 0 when none.
  virtual HOBJECT FindPartNode(const char* /*name*/) { return 0; }
  // Appends every object's node and name, then every part's, to each list given.
  virtual int CollectNodes(std::vector<HOBJECT>* /*nodes*/, std::vector<std::string>* /*names*/) { return 0; }
  // The triangle pick of the default viewport at a screen point.
  virtual int HitTest(int /*x*/, int /*y*/) { return 0; }
  // Shows the root box as lines, or hides it.
  virtual void ShowBounds(int /*flag*/) {}
  virtual int LoadModel(const char* /*file*/, const char* /*directory*/) { return 0; }
  virtual int PlayPose(int pose, int loop) { return PlayPoseMoving(pose, loop, 0); }
  virtual int PlayPoseMoving(int /*pose*/, int /*loop*/, int /*rootMotion*/) { return 0; }
  // flags & 0xF: play mode; & 0xF0: start kind; & 0xF000: 0x1000 root motion
  // on, 0x2000 off.
  virtual int PlayPoseFlags(int /*pose*/, int /*flags*/) { return 0; }
  // Keeps at most 255 characters; 0 for a null text.
  virtual int SetName(const char* text);
  // Copies the name into a buffer of kNameSize bytes; 0 for a null buffer.
  virtual int GetName(char* buffer);
  virtual float GetScale() { return 1.0f; }
  // Hangs the other creature's nodes under the namesakes of this one.
  virtual int AttachCreature(IBsCreature* /*other*/) { return 0; }
  virtual void SetSuspended(int /*flag*/) {}
  // One tick of the component passes with 1.
  virtual void StepOnce() {}
  // Into target, or a new creature when target is null; that creature's
  // interface, null when it could not be made.
  virtual IBsCreature* CloneShared(IBsCreature* /*target*/) { return nullptr; }
  virtual IBsCreature* CloneCopy(IBsCreature* /*target*/) { return nullptr; }
  // Bits 4 to 7 the kind (0 blobs, 1 projected), bits 0 to 3 the blob placement.
  virtual int SetShadowMode(int /*mode*/) { return 0; }

  char name[kNameSize] = {};
};
