#pragma once
#include "components/bs_creature.h"
#include "components/gc_base.h"
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

// An animated model in a cut-scene: a creature component that a scene's
// society owns while a scene is attached, standing on that scene's terrain.
class SCreature : public CGCBase, public IBsCreature, public SVisual {
 public:
  int TypeId() const final { return ACTOR_CREATURE; }

  // Keeps the terrain and checks the creature can stand on it; returns -1.
  virtual int SetTerrain(HOBJECT terrainNode, HOBJECT terrain, int a, int b) = 0;
  // Drops the creature onto the terrain (0: the one it last stood on); 0 when
  // it landed, else -1.
  virtual int PlaceOnTerrain(HOBJECT terrain, int a, int b) = 0;
  // Drops it onto the kept terrain; -1 without one or when it does not land.
  virtual int DropOnTerrain(int a, int b) = 0;
  // While set, every position change drops the creature onto its terrain.
  virtual void SetTerrainFollow(int flag) = 0;
  virtual void SetPaused(int flag) = 0;
  // 0 one animation step per frame, n > 0 n steps, n < 0 one every |n| + 1 frames.
  virtual void SetPoseSpeed(int speed) = 0;
  // The follow-up starts when a pose played once has finished; 0, or -2 when
  // the pose does not start.
  virtual int PlayPose(const POSEPLAYDESC& pose, const POSEPLAYDESC* followUp) = 0;
  virtual void ShowShadow(int flag) = 0;
};
