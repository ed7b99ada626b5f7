#pragma once
#include <memory>
#include <string>
#include <vector>

#include "components/effect_element.h"
#include "components/mix_creature.h"

class CMSwordMan;

// An element over a whole swordsman creature: either one it loads itself
// (a copy of a creature playing a fence) or the effect's owner, bound
// without loading anything so its parts can be targets. Its node is the
// creature's root node, which the creature owns.
class A_MCObject : public A_Model {
 public:
  A_MCObject() = default;
  ~A_MCObject() override;

  // Wraps a creature owned by someone else and captures its colours.
  void Bind(CMSwordMan* creature);
  void CaptureColours();
  // Brightness mode 2 multiplies every part's captured colours by value.
  void SetBrightness(float value);
  // Kept within 0 to 1.
  void AddBrightness(float delta);
  // 1 with the name of the first part (each group from its second part on)
  // whose node is node.
  int FindPartName(HOBJECT partNode, std::string* out);

  // A new swordsman "<name up to the first '.'>.MCB" from ".\data\creature";
  // 0 when no model came in.
  int LoadModel(const char* name) override;
  void Scale(float x, float y, float z, int mode) override;
  HOBJECT GetNode(const char* partName) override;
  void GetTransform(HOBJECT node, VECTOR3* position, VECTOR3* forward, VECTOR3* up) override;
  void SetVisible(int flag) override;
  // pose is a fence index of the swordsman.
  void PlayPose(int pose, int endFrame, int restartFrame, int loop) override;
  int Update(int n) override;
  void SetStopped(int flag) override { stopped = flag; }
  void StepFrame() override;
  void Restart(int flag) override;
  int PickAt(int x, int y) override;

  CMSwordMan* Creature() const { return creature; }

  int ownsCreature = 0;
  CMSwordMan* creature = nullptr;
  std::vector<CREATURECOLOURS> groupColours[2];  // objects, parts
  int brightnessMode = 2;
  float brightness = 1.0f;
  int pose = 0;
  int endFrame = -1;
  int restartFrame = -1;
  int loop = 0;
  int stopped = 1;

 private:
  void Release();
  void RestartFence();
  // The part nodes of group g (0 objects, 1 parts) and their names.
  const std::vector<HOBJECT>& GroupNodes(int g) const;
  std::string GroupName(int g, size_t i) const;
};
