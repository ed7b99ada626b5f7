#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/core/handles.h"
#include "engine/core/math3d.h"
#include "world/transition_scene.h"

// How one piece flies: velocity, speed, spin axis (unit) and degrees per frame.
struct PIECEMOTIONDESC {
  VECTOR3 velocity{0, 0, 0};
  float speed = 0;
  VECTOR3 axis{0, 0, 1};
  float spin = 0;
};

// One screen transition effect over the shrunk 256 x 256 screen image.
class STransBase {
 public:
  static constexpr int kFrames = 31;

  virtual ~STransBase() = default;
  // Everything at its start, 31 frames to go, the models shown; 0.
  virtual int Reset() = 0;
  // One frame: 0, or -2 once no frames are left.
  virtual int Step() = 0;
  virtual void Show(int flag) = 0;
  virtual HOBJECT GetCamera() = 0;
};

// What every effect holds: its scene, its camera and its frames left, with
// the common set-up (scene hidden, camera, the image's material on the
// pieces, a motion record per piece).
class STransCommon : public STransBase {
 public:
  enum class Planes { kPieces, kTwoSided };
  enum class AxisZ { kFlat, kSigned };

  ~STransCommon() override;
  int Reset() override;
  void Show(int flag) override;
  HOBJECT GetCamera() override { return camera; }

  int ModelCount() const { return scene.GetModelCount(); }
  HOBJECT Model(int n) const { return scene.GetModel(n); }

 protected:
  STransCommon(const uint16_t* image, Planes planes, AxisZ axisZ, bool withCamera = true);
  // Counts the frame down; false (after hiding the models) when none was left.
  bool NextFrame();
  static PIECEMOTIONDESC DrawMotion(AxisZ axisZ);
  // Moves the node by speed x velocity (in its parent) and turns it by its spin.
  static void Fly(HOBJECT node, const PIECEMOTIONDESC& motion, bool flat = false);
  static void Spin(HOBJECT node, const PIECEMOTIONDESC& motion);

 public:
  CTransScene scene;
  HOBJECT camera = 0;
  HOBJECT imageMaterial = 0;
  std::vector<PIECEMOTIONDESC> motions;
  int framesLeft = 0;
};

class STrans1 : public STransCommon {
 public:
  explicit STrans1(const uint16_t* image) : STransCommon(image, Planes::kPieces, AxisZ::kFlat) {}
  int Step() override;
};

class STrans2 : public STransCommon {
 public:
  explicit STrans2(const uint16_t* image) : STransCommon(image, Planes::kPieces, AxisZ::kSigned) {}
  int Step() override;
};

// The pieces as 8 rows of 24 (the scene's last 24 are row 0) falling row
// after row.
class STrans3 : public STransCommon {
 public:
  static constexpr int kRows = 8;
  static constexpr int kPerRow = 24;

  explicit STrans3(const uint16_t* image);
  int Reset() override;
  int Step() override;

  int rowCountdown[kRows] = {};
  std::vector<int> rows[kRows];  // piece indices
  int activeRows = 0;

 protected:
  // The pieces left out of the rows are skipped.
  void BuildRows(const std::vector<bool>& skip);
  void FallRow(int row);
};

class STransExplodeDrop : public STrans3 {
 public:
  explicit STransExplodeDrop(const uint16_t* image);
  ~STransExplodeDrop() override;
  int Reset() override;
  int Step() override;

  int groupCountdown = 0;
  std::vector<int> groupA;
  std::vector<int> groupB;
  HOBJECT groupNodeA = 0;
  HOBJECT groupNodeB = 0;
};

class STransMoveExplode : public STransCommon {
 public:
  explicit STransMoveExplode(const uint16_t* image) : STransCommon(image, Planes::kPieces, AxisZ::kFlat) {}
  int Reset() override;
  int Step() override;
};

// The two planes of "2_sided.sb" flying off with a trail of copies.
class STransRotate : public STransCommon {
 public:
  static constexpr int kCopies = 6;
  static constexpr int kMaxTrail = 5;

  STransRotate(const uint16_t* image, int withLight);
  ~STransRotate() override;
  int Reset() override;
  int Step() override;
  void Show(int flag) override;

  int trailLength = -1;
  HOBJECT frontCopies[kCopies] = {};
  HOBJECT backCopies[kCopies] = {};
  int copyDelay[kCopies] = {};
  int copyCountdown[kCopies] = {};
  HOBJECT light = 0;

 private:
  void Move(HOBJECT node, int frames) const;
  HOBJECT backMaterial_ = 0;
};

// The front plane tipping over to one side. It has no camera of its own.
class STransFBR : public STransCommon {
 public:
  explicit STransFBR(const uint16_t* image);
  int Reset() override;
  int Step() override;
  // The front plane only.
  void Show(int flag) override;

  int side = 0;
};
