#pragma once

namespace qmz {

// Where the orbit camera starts, relative to the hero. Only the values whose
// bit is set in mask apply; the others keep the camera's current ones.
struct SPHEREDESC {
  int mask;      // SPHERE_RADIUS | SPHERE_THETA | SPHERE_PHI
  float radius;  // distance of the eye from the centre
  float theta;   // the eye's bearing, counter-clockwise from the facing: pi is behind
  float phi;     // the eye's angle from +Z: pi/2 is level with the centre
};

enum : int { SPHERE_RADIUS = 2, SPHERE_THETA = 4, SPHERE_PHI = 8 };

// The mouse orbit camera of the battle. It orbits a centre fixed to the hero
// (the hero's position plus an offset along the hero's own axes) in the
// spherical convention of view_matrix.h, so its angles and radius can be
// handed to a camera track without a jump.
//
// The mouse turns it: a horizontal step of d pixels turns the heading by
// -d x 0.01 x precision radians and a vertical step the angle phi by
// +d x 0.01 x precision (moving the mouse down looks down). A step feeds the
// angle speeds, which are applied once per frame and halve each frame, so a
// step is spent smoothly over a few frames. Phi stays within the restricted
// angles. In follow mode 1 the hero turns with the camera's heading; in follow
// mode 2 the camera, besides, swings with the hero's own turns.
class CLCTCamera {
 public:
  enum : int { FOLLOW_CAMERA = 1, FOLLOW_MUTUAL = 2 };

  // direction: the hero's facing; offset: the centre in the hero's own axes.
  void InitCamera(const float* direction, const float* offset, const SPHEREDESC& sphere);
  // The most the view may tilt below level (down) and above it (up), radians.
  void SetRestrictAngle(float down, float up);
  // Mouse sensitivity factor, 1 by default.
  void SetMousePrecision(float precision) { precision_ = precision; }
  // The mouse stands at (x, y). With flag 0 this only moves the reference
  // point; with another flag the step from the reference turns the camera.
  void GetMouseMessage(int x, int y, int flag);
  // Advances `frames` frames (at least one). When the camera or the hero
  // changed, writes both as M16 (the hero turned in place) and returns non-zero.
  // A disabled camera returns 0 and writes nothing.
  int Update(int frames, float* hero16, float* camera16);

  void GetLCTCenter(float* out, const float* hero16) const;
  float GetLCTRadius() const { return radius_; }
  float GetLCTAngleTheta() const { return theta_; }
  float GetLCTAnglePhi() const { return phi_; }

  void SetFollowMode(int mode) { followMode_ = mode; }
  int GetFollowMode() const { return followMode_; }
  void Enable(int on) { enabled_ = on != 0; }
  int IsEnabled() const { return enabled_ ? 1 : 0; }
  // Radians per frame of heading and of phi.
  void SetAngleSpeed(float theta, float phi);
  float GetAngleSpeedTheta() const { return speedTheta_; }
  float GetAngleSpeedPhi() const { return speedPhi_; }
  // The orbit radius.
  void SetDistance(float distance);

 private:
  static constexpr float kRadiansPerPixel = 0.01f;

  float offset_[3] = {0.0f, 0.0f, 0.0f};
  float radius_ = 100.0f;
  float theta_ = 0.0f;
  float phi_ = 1.5707964f;
  float downLimit_ = 1.5f;
  float upLimit_ = 1.5f;
  float precision_ = 1.0f;
  float speedTheta_ = 0.0f;
  float speedPhi_ = 0.0f;
  int followMode_ = FOLLOW_CAMERA;
  bool enabled_ = true;
  int mouseX_ = 0;
  int mouseY_ = 0;
  bool mouseKnown_ = false;
  float heroHeading_ = 0.0f;  // heading of the hero's X axis at the last Update
  bool heroHeadingKnown_ = false;
  bool dirty_ = true;  // the camera must be written at the next Update
  float lastCamera_[16] = {};
};

}  // namespace qmz
