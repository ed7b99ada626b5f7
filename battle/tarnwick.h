#pragma once
#include <map>
#include <memory>

#include "battle/action_table.h"
#include "components/sword_man.h"
#include "engine/core/handles.h"
#include "engine/core/math3d.h"

class CEfficacy;

// The animated body of a fighter, a shot or an afterimage. It plays action
// records in four modes (1 after the release frame, 2 at once, 3 at the end,
// 4 within a transition's window), advances under a slow-motion divider,
// reports the hit frame crossed, moves by the action's own motion or along
// its pose's position track, carries weapons and aims at four hit vertices.
class CTarnwick : public CMSwordMan {
 public:
  CTarnwick();
  CTarnwick(const char* file, int loadAllPoses, const char* directory);
  ~CTarnwick() override;

  int Update(int frames) override;
  int PostUpdate(int frames) override;

  void Init();
  // 1 when the record starts or waits; 0 when refused.
  int PlayAction(const ACTIONDESC& action);
  // Plays the record's pose looping from its first frame unless it is current.
  void SetAction(const ACTIONDESC& action);
  int AdvanceFrames(int frames);
  void ApplyMotion(int frames);

  void SetSlowMotion(int n);
  void StopMotion(int flag);
  int IsPlaying() const;
  int IsIdle() const { return current[ACTIONDESC::KIND] == 0; }
  int IsReleased() const;
  int AtHitFrame() const { return hitFrame >= 0; }
  int NearHitFrame(int* out) const;

  // Finds each point among the model's vertices; a miss shows a warning.
  void SetHitVertices(const float* headFront, const float* headBehind, const float* bodyFront, const float* bodyBehind);
  // Bit 1 head, 2 body, 4/8 left/right arm, 0x10/0x20 left/right shin.
  void GetHitPoints(VECTOR3* out, int mask);

  // A weapon model from the battle weapon folder, under the next key (1, 2, ...).
  int LoadWeapon(const char* name);
  // 0 when no weapon has the key; else it is shown and hung on the body.
  int ShowWeapon(int key);
  // Unhangs and hides the current weapon; returns it (still owned here).
  CGCBMixCreature* RemoveWeapon();
  void ClearWeapons();
  // Nodes of the parts whose names end in 'W' or 'w', at most count.
  int GetWeaponParts(HOBJECT* out, int count);

  int PlayEffect(const char* name, HOBJECT a, HOBJECT b, HOBJECT c, int loop);
  int IsEffectPlaying() const;
  void StopEffect();
  void SetEffectLoop(int flag);

  // The clone takes this body's model and copies of its nodes, without shadow.
  int ShareWith(CTarnwick* clone);
  // The body's and its weapon's opacity, kept as the fade's value too.
  void SetOpacity(float value);

  // The body's node.
  HOBJECT Node() const { return rootNode; }
  float CurrentFrameValue() const;

  CGCBMixCreature* currentWeapon = nullptr;
  std::map<int, std::unique_ptr<CGCBMixCreature>> weapons;
  CEfficacy* effect = nullptr;
  HOBJECT vaPartNode = 0;
  int actionMotion = 0;
  ACTIONDESC current;
  ACTIONDESC pending;
  int frozen = 0;
  int hitFrame = -1;
  const MESHVERTEX* hitVertices[4] = {};
  int effectAccumulator = 0;
  int divider = 1;

 private:
  const CREATUREPOSE* PoseEntry(int pose) const;
  void StartPose(const ACTIONDESC& action, int frame);
  void FindHitVertex(int slot, const float* point);
  VECTOR3 HitVertexOrBox(int slot);
  void TrackStep(int frame);
  int PendingStart(int n) const;
};
