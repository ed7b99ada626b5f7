#pragma once
#include "components/mix_creature.h"
#include "cutscene/actor_type.h"
#include "cutscene/visual.h"

// A pose to play: which pose, which of its frames (-1, -1 for the whole pose)
// and how.
struct POSEPLAYDESC {
  int pose = 0;
  int from = -1;
  int to = -1;
  int playType = 1;  // 0 once, 1 loop, 2 the "SLOOP" play
  int style = 16;    // 0 smooth change, 16 force change
  int walkOut = 0;
};

// SActor::Update and the component's CGCBase::Update share one signature; the
// actor's side hands its tick to AnimationStep so that the creature component
// keeps its own Update for the passes it runs.
class SCreatureVisual : public SVisual {
 public:
  int Update(int frames) override { return AnimationStep(frames); }

 protected:
  virtual int AnimationStep(int frames) = 0;
};

// An animated model in a cut-scene: a creature component that the cut-scene
// society owns while a scene is attached, standing on that scene's terrain.
// Its model failing to load still makes a creature; its poses then fail (-2).
class SCreature : public CGCBMixCreature, public SCreatureVisual {
 public:
  SCreature(const char* file, int loadAllPoses, const char* directory);

  int TypeId() const final { return ACTOR_CREATURE; }
  void Reset() override;

  // Both bases have names; the actor's is the one the play looks up.
  using SActor::GetName;
  using SActor::SetName;
  // The actor's pick of a screen point; the component's HitTest(x, y) stays.
  using IBsCreature::HitTest;
  using SVisual::GetTransform;

  void SetVisible(int flag) override;
  HOBJECT SetPosition(float x, float y, float z, int mode) override;
  void SetPositionXYZ(float x, float y, float z) override;
  void SetOpacity(float alpha) override;
  float GetOpacity() override;
  int SetDrawMode(int mode) override;
  int HitTest(HOBJECT viewport, int x, int y) override;
  HOBJECT GetNode() override;

  // Keeps the terrain and checks the creature can stand on it; returns -1.
  virtual int SetTerrain(HOBJECT terrainNode, HOBJECT terrain, int a, int b);
  // Drops the creature onto the terrain (0: the one it last stood on); 0 when
  // it landed, else -1.
  virtual int PlaceOnTerrain(HOBJECT terrain, int a, int b);
  // Drops it onto the kept terrain; -1 without one or when it does not land.
  virtual int DropOnTerrain(int a, int b);
  // While set, every position change drops the creature onto its terrain.
  virtual void SetTerrainFollow(int flag);
  virtual void SetPaused(int flag);
  // 0 one animation step per frame, n > 0 n steps, n < 0 one every |n| + 1 frames.
  virtual void SetPoseSpeed(int speed);
  // The follow-up starts the frame after a pose played once has finished; 0,
  // or -2 when the pose does not start (nothing then changes).
  virtual int PlayPose(const POSEPLAYDESC& pose, const POSEPLAYDESC* followUp);
  using CGCBMixCreature::PlayPose;

  const POSEPLAYDESC& CurrentPose() const { return current_; }
  int IsOnTerrain() const { return onTerrain_; }

 protected:
  // An empty creature, for stand-ins that replace every operation.
  SCreature();
  int AnimationStep(int frames) override;

 private:
  enum class StepMode { kNormal, kFast, kSlow };
  enum class Step { kPlain, kWithFollowUp, kStartFollowUp };

  void OneStep();

  int drawMode_ = 0;
  int onTerrain_ = 0;
  int followTerrain_ = 1;
  POSEPLAYDESC current_;
  int paused_ = 0;
  int poseSpeed_ = 0;
  HOBJECT terrain_ = 0;
  int dropOffset_ = 0;
  int dropSlope_ = 0;
  POSEPLAYDESC queued_;
  int slowCounter_ = 0;
  StepMode stepMode_ = StepMode::kNormal;
  Step step_ = Step::kPlain;
};
