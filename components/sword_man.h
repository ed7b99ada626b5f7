#pragma once
#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/tick_timer.h"
#include "components/fence_data.h"
#include "components/mix_creature.h"
#include "engine/core/math3d.h"

class CSocietyExt;

// The creature that fights: besides poses it plays fences from the ".fn" file
// beside its model, queues follow-ups inside a timing window, reports hits,
// makes scripted moves, leaves afterimages, keeps attached sub-creatures by
// key and frames the action with camera shots while a fence plays.
class CMSwordMan : public CGCBMixCreature {
 public:
  // Follow-up filter: may reject a follow-up (fence id list, value); 1 keeps.
  using FollowUpFilter = int (*)(const std::vector<int>& ids, int value);

  CMSwordMan();
  // Loads the model, then "<directory>\<name up to the first '.'>.fn".
  CMSwordMan(const char* file, int loadAllPoses, const char* directory);
  ~CMSwordMan() override;

  int Update(int n) override;
  int PostUpdate(int n) override;
  void SetVisible(int flag) override;
  using CGCBMixCreature::CloneCopy;
  using CGCBMixCreature::CloneShared;
  using CGCBMixCreature::LoadModel;
  // A swordsman sharing model and fences, with copies of the attachments,
  // in the same society.
  CMSwordMan* CloneShared() override;
  // A swordsman with copies of model, fences and attachments.
  CMSwordMan* CloneCopy() override;
  void SetAlpha(float alpha) override;
  int PlayPoseNow(int pose, int mode) override;
  int GetPoseProgress(int* fence, int* length, int* position) override;
  int SetPoseFrame(int k) override;
  // Asks the attachments, in key order, when the creature has no such node.
  HOBJECT FindPartNode(const char* name) override;
  // Also reads the ".fn" file; 0 when that fails.
  int LoadModel(const char* file, const char* directory) override;

  // Fences.
  virtual int StepFence(int n);
  virtual int ApplyComposeFrame(const COMPOSEFRAMEDESC& cf);
  virtual int StepComposeFrame(const COMPOSEFRAMEDESC& cf);
  // Plays frames start..end (of the model) while the root moves linearly to (x, y, z).
  virtual int SetFrameRangeMove(int start, int end, float x, float y, float z);
  virtual int StartFence(int index);
  virtual int PruneFenceTree(CFenceTree* tree, int value);
  // index within the current group; the shot flag 1 plays only a file shot.
  virtual int PlayFenceAt(int index, CGCBMixCreature* target, int shotFlag);
  virtual int PlayFence(int id, CGCBMixCreature* target, int shotFlag);
  // -1 when the current group has no fence of that id.
  virtual int FindFence(int id);
  virtual CFenceTree* MatchFollowUp();
  virtual int StopFence();
  virtual int ContinueFence(int index);
  virtual int ClearFollowUp();
  virtual int IsFollowUp(int index);
  virtual int IsInFollowUpWindow();

  // Transforms and moves.
  virtual int SetReturnPoint(const VECTOR3* position, const VECTOR3* direction);
  virtual int RestoreTransform();
  virtual int SaveReturnPoint();
  // Plays the pose once; its loop part moves the root to (x, y, z), then the
  // idle pose follows. rootMotionAfter is the root motion after the loop part.
  virtual int StartMoveTo(int pose, float x, float y, float z, int faceTarget, int rootMotionAfter);
  virtual int StartStepTo(float x, float y, float z);
  // -1, or (hit value, with 0x1000 on the final hit) << 16 once per hit.
  virtual int GetHit();
  virtual int StartPoseMove(int pose, int delay, int returnFlag);
  virtual int SetIdlePose(int pose);
  virtual int PlayIdlePose();
  // mode 0 off, 1 on, 2 on until the pose ends; rate per second.
  virtual int SetAfterimage(int mode, float fadeSpeed, float rate);
  virtual int FadeOutFrozen(float speed);

  // Fence queries.
  virtual int SelectFenceGroup(int group);
  virtual int GetFenceKindById(int id);
  virtual int GetCurrentFenceKind();
  virtual int GetFenceMoveKind(int index);
  virtual int GetHitCount();
  virtual int GetCurrentFenceId();
  virtual int GetFollowUpId();

  // Camera shots.
  virtual int PlayCameraShot(int flag);
  // code in bits 28-31.
  virtual int PlayShot(int code);
  // The camera script of a file shot: "camera\<model file name>f<id, two digits>.sc".
  std::string ShotFilePath(int fenceId) const;

  virtual int SetRestoreTransform(const VECTOR3* position, const VECTOR3* direction);
  virtual int SaveFenceTrees();
  virtual int RestoreFenceTrees();
  virtual int PruneFenceTrees(int value);
  // Owns the creature; 0 for this creature itself or when the key holds a
  // creature of the same file; no creature frees the key.
  virtual int AttachSubCreature(int key, CGCBMixCreature* creature);
  virtual int SetAttachmentsVisible(int flag);

  int FenceCount() const { return fences ? fences->fenceCount : 0; }
  const FENCEDESC* Fence(int index) const;
  const FENCEDESC* CurrentFence() const { return Fence(currentFence); }
  CSocietyExt* Society() const;

  std::unique_ptr<CTickTimer> afterimageTimer;
  CGCBase* shotCamera = nullptr;
  HOBJECT shotDummy = 0;
  int viewCode = 0;
  int lastShot = 0;
  int composeFrameChanged = 0;
  int restoreFlag = 0;
  int poseMoveReturn = 0;
  std::vector<std::unique_ptr<CFenceTree>> workingTrees;
  std::map<int, std::unique_ptr<CGCBMixCreature>> attachments;
  int moveRootMotionAfter = 0;
  int moveRootMotionKept = 0;
  std::shared_ptr<CFenceData> fences;
  int currentGroup = 0;
  CFenceTree* followUpTree = nullptr;
  CFenceTree* matchedTree = nullptr;
  std::array<int32_t, 4> header{};
  int idlePose = 0;
  int lastHitFrame = -1;
  VECTOR3 shotPoint{0, 0, 0};
  unsigned approachK = 0;
  unsigned turnK = 0;
  int currentFence = 0;
  int currentComposeFrame = 0;
  int playing = 0;
  int followUpQueued = 0;
  int continuing = 0;
  int fenceCounter = 0;
  int fenceLength = 0;
  int queuedFence = 0;

  struct RANGEMOVE {
    int active = 0;
    VECTOR3 target{0, 0, 0};
    VECTOR3 step{0, 0, 0};
    int progress = 0;
    int length = 0;
    int start = 0;
    int end = 0;
  } rangeMove;
  struct POSEMOVE {
    int active = 0;
    int pose = 0;
    int delay = 0;
    int progress = 0;
    int length = 0;
  } poseMove;
  int moveToPose = 2;
  int moveToState = 0;
  VECTOR3 moveToTarget{0, 0, 0};
  VECTOR3 returnTransformPosition{0, 0, 0};
  VECTOR3 returnTransformDirection{0, 1, 0};
  int afterimagesDisabled = 0;
  CGCBMixCreature* target = nullptr;
  std::unique_ptr<CMSwordMan> composite;
  int afterimageMode = 0;
  float afterimageFade = 0;
  float afterimageRate = 0;
  VECTOR3 returnPosition{0, 0, 0};
  VECTOR3 returnDirection{0, 1, 0};
  VECTOR3 fenceStartPosition{0, 0, 0};
  VECTOR3 fenceStartDirection{0, 1, 0};
  VECTOR3 composeStartPosition{0, 0, 0};
  VECTOR3 composeStartDirection{0, 1, 0};
  VECTOR3 composeTarget{0, 0, 0};
  VECTOR3 restorePosition{0, 0, 0};
  VECTOR3 restoreDirection{0, 1, 0};
  int composeStartCounter = 0;
  int composeEndCounter = 0;
  int followUpMatched = 0;
  std::vector<int32_t> fenceCounters;
  int mirror = 0;
  FollowUpFilter followUpFilter = nullptr;

 private:
  int ReadFences();
  // The model file name up to its first '.', and from there on.
  std::string BaseName() const;
  std::string Extension() const;
  void PlaceRoot(const VECTOR3& position, const VECTOR3& direction);
  // The camera component a file shot displaced goes back to the society.
  void GiveBackShotCamera();
  void MakeAfterimage();
  void StepMoveTo(int n);
  void StepPoseMove(int n);
  void SteerCamera();
  int UpdateFrameRange(int n);
  CMSwordMan* NewClone(bool copy);
};
