#pragma once
#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "components/bs_creature.h"
#include "components/creature_model.h"
#include "components/gc_base.h"
#include "components/shadow_mesh.h"
#include "engine/core/handles.h"
#include "engine/core/math3d.h"

// The four colours of one material, as saved and restored.
struct CREATURECOLOURS {
  float ambient[3] = {};
  float diffuse[3] = {};
  float specular[3] = {};
  float emissive[3] = {};
};

// An animated model: objects follow a per-frame transform, parts blend key
// vertex sets, poses are frame ranges played under the society's ticks in
// three modes (0 once, 1 loop, 2 start to loop end then loop), blended into
// the next pose, optionally moving the root over the terrain with the pose's
// own root offsets. It fades, changes material colours and face textures and
// casts blob or projected shadows. Clones share the model (with nodes of
// their own) or copy it; the last holder deletes the model.
class CGCBMixCreature : public CGCBase, public IBsCreature {
 public:
  // Start kinds of PlayPose.
  static constexpr int kQueued = 0;
  static constexpr int kImmediate = 16;
  static constexpr int kBlend = 32;
  static constexpr int kProjectedShadow = 0x10;

  CGCBMixCreature();
  // Loads the model (".MCB" added without an extension), its face textures,
  // and plays pose 0 looping.
  CGCBMixCreature(const char* file, int loadAllPoses, const char* directory);
  ~CGCBMixCreature() override;

  // Component passes: Update advances the frame (0 when a finished once-pose
  // has nothing pending); PostUpdate keeps n; EndFrame runs fades and the shadow.
  int Update(int n) override;
  int PostUpdate(int n) override;
  int EndFrame(int n) override;
  void SetVisible(int flag) override;
  void SetSuspended(int flag) override;

  // IBsCreature.
  void GetTransform(VECTOR3* position, VECTOR3* forward, VECTOR3* up) override;
  HOBJECT FindPartNode(const char* name) override;
  int CollectNodes(std::vector<HOBJECT>* nodes, std::vector<std::string>* names) override;
  int HitTest(int x, int y) override;
  void ShowBounds(int flag) override;
  int LoadModel(const char* file, const char* directory) override;
  int PlayPose(int pose, int loop) override;
  int PlayPoseMoving(int pose, int loop, int rootMotion) override;
  int PlayPoseFlags(int pose, int flags) override;
  int AttachCreature(IBsCreature* other) override;
  void StepOnce() override;
  IBsCreature* CloneShared(IBsCreature* target) override;
  IBsCreature* CloneCopy(IBsCreature* target) override;
  int SetShadowMode(int mode) override;

  // Model and frames.
  virtual int ApplyObjectFrame(int frame);
  virtual int ApplyPartFrame(int frame);
  // A directory-relative file; the path must be shorter than 64 characters.
  // 1 when a model came in, 0 when it is empty. Called once per creature.
  virtual int LoadModel(const char* file, int loadAllPoses, const char* directory);
  virtual int ReleaseFaceTextures();
  virtual void SetModelData(CModelData* model);
  // Key set k of a part: the text key set itself, or an ".MCB" key decoded
  // into buffer; null when missing.
  virtual const MESHVERTEX* GetKeyVertices(int key, int part, MESHVERTEX* buffer);
  // The part's vertices at frame f into out; 0 when its key is missing.
  virtual int GetPartVerticesAt(int frame, int part, MESHVERTEX* out);
  virtual int SetFractionalFrame(float frame);
  virtual int SetFrame(int frame);
  virtual int GetFrame() { return currentFrame; }
  virtual float GetFractionalFrame() { return fractionalFrame; }
  virtual CGCBMixCreature* CloneShared();
  virtual CGCBMixCreature* CloneCopy();
  virtual int CopyTo(CGCBMixCreature* creature);
  virtual int ShareModelWith(CGCBMixCreature* creature);

  // Appearance.
  virtual int SetHiddenObjectsVisible(int flag);
  virtual void SetAlpha(float alpha);
  virtual int UpdateShadow();
  virtual int SetRenderState(int state, int value);
  virtual int SetDrawMode(int mode);

  // Playing. mode: 0 once, 1 loop, 2 to loop end then loop, -1 unchanged.
  virtual int PlayPose(int pose, int mode, int startKind, int ignored);
  virtual int SetPlayRange(int length, int start, int end, int windowStart, int loopStart, int loopEnd, int mode,
                           int ignoredA, int ignoredB);
  virtual int StartMovePose(int pose);
  virtual void SetRootMotion(int on, int mode);
  virtual void SetGeometryFrozen(int flag) { geometryFrozen = flag; }

  // Face textures and material colours; a null colour is left as it is.
  virtual int SetFaceTexture(const char* partName, int index);
  virtual int SetMaterialColours(const float* ambient, const float* diffuse, const float* specular,
                                 const float* emissive);
  virtual int RestoreMaterialColours();
  virtual int SaveMaterialColours();

  // Root motion.
  virtual int StepRootMotion(int backward);
  virtual int PlaceRootAtFrame();
  virtual int WalkRoot(int ignored, float distance, int flags);
  virtual int TurnRoot(float angle, int flags);
  // Bit 0: the walk did not move; bit 1: the strafe did not.
  virtual int MoveRootBy(float dx, float dy, float dz, int onTerrain);

  virtual int LoadPose(int pose);
  virtual int LoadAllPoses();
  virtual int IsFrameInRange(int frame);
  virtual int PlayPoseNow(int pose, int mode) { return PlayPose(pose, mode, kImmediate, 0); }
  virtual int GetPoseProgress(int* pose, int* length, int* position);
  virtual int SetPoseFrame(int offset);
  virtual int SetPartsCulling(int flag);
  // 0 reset, 1 fade in, 2 fade out, 3 pulse.
  virtual int SetFade(int mode, float speed);
  virtual int ShowShadow(int flag);
  virtual int CollectMeshNodes(std::vector<HOBJECT>* list, int shownOnly);
  virtual int DestroyShadows();
  virtual void SetShadowOnGround(int flag) { onGround = flag; }
  virtual int IsPlayDone();
  virtual int LoadFaceTextures(const char* file, const char* partName);
  virtual int BlendToFrame(int frame, float weight);
  virtual int GetFrameBox(float box[6]);
  virtual int BuildFrameBox();

  // Shared by every creature: the live count, the light camera and pool of
  // projected shadows (made with the first creature, gone with the last).
  static int LiveCount();
  static CShadowMeshPool* ShadowPool();
  static HOBJECT ShadowCamera();

  std::vector<CREATURECOLOURS> savedPartColours;
  std::vector<CREATURECOLOURS> savedObjectColours;
  int autoRemove = 0;
  int customRange = 0;
  CREATUREPOSE playRange;
  float blendWeight = 0;
  float blendStep = 0;
  VECTOR3 moveStartPosition{0, 0, 0};
  VECTOR3 moveStartDirection{0, 0, 0};
  int movePose = 0;
  CModelData* modelData = nullptr;
  std::vector<HOBJECT> faceTextures;
  std::map<HOBJECT, int> faceTextureUses;
  std::map<HOBJECT, HOBJECT> formerMaterials;  // part node -> its material before face textures
  int shadowMode = 2;
  int renderDue = 1;
  int groundDue = 1;
  int serial = 0;
  int poolFailed = 0;
  std::vector<HOBJECT> renderList;
  SHADOWENTRY* poolEntry = nullptr;
  MATRIX44 projection{};
  int updateStep = 1;
  // Per frame, built on demand; shared with shared clones.
  std::shared_ptr<std::vector<std::unique_ptr<std::array<float, 6>>>> frameBoxes;
  int playMode = 1;
  int currentPose = 0;
  int currentFrame = 0;
  float fractionalFrame = 0;
  int lastTickCount = 0;
  int rootMotion = 0;
  int walkMode = 1;
  int freeWrap = 0;
  int geometryFrozen = 0;
  std::shared_ptr<std::vector<int>> poseLoaded;
  std::string fileName;
  std::string directory;
  float frameHeight = 0;
  float alpha = 1.0f;
  int fadeMode = 0;
  float fadeSpeed = 0;
  float pulsePhase = 0;
  std::vector<HOBJECT> blobMeshes;
  HOBJECT pooledMesh = 0;
  int onGround = 0;
  int shadowEnabled = 0;
  int shown = 1;
  int pendingPose = -1;
  int pendingMode = -1;
  int cloneCount = 0;
  // This creature's nodes of the model's objects and parts (copies of its own
  // after a shared clone, which then destroys them).
  std::vector<HOBJECT> objectNodes;
  std::vector<HOBJECT> partNodes;
  int ownsNodes = 0;
  std::vector<int> vertexCounts;
  std::shared_ptr<std::vector<std::vector<MESHVERTEX>>> scratch;  // per part
  char modelName[kCreatureNameSize] = {};
  int objectCount = 0;
  int poseCount = 0;
  int partCount = 0;
  int frameCount = 0;
  HOBJECT rootNode = 0;
  int lastRootResult = 0;
  int tickTotal = 0;
  int shadowLimit = 3;
  // Kept for the field world, which sets them.
  int moved = 0;
  int walking = 0;

 private:
  void StartShared();
  const CREATUREPOSE* Pose(int pose) const;
  // The range [s, f] frames run in for the current play mode.
  void ActiveRange(int* s, int* f) const;
  MESHVERTEX* LiveVertices(int part);
  MESHVERTEX* Scratch(int part);
  void BlendInto(int part, MESHVERTEX* target, const MESHVERTEX* towards, float t);
  void TakePoolEntry();
  void GivePoolEntry();
  void ShowBlobs(int flag);
  HOBJECT MakeFirstBlob();
  template <class F>
  void ForEachColourNode(F f);
};
