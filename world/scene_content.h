#pragma once
// The live content of a loaded scene: its objects sorted into the per-frame
// passes (scrolling, spinning, frame-animated, keyframed, morphing,
// camera-facing, occluding), a culling box per listed object, the lights, the
// people, the ambient sounds and the wind effects.
//
// Content index: the objects in file order without terrain (kind 1) and
// background objects (kinds 2 and 9); every per-kind record refers to an
// object by it.
#include <cstdint>
#include <memory>
#include <vector>

#include "base/game_math.h"
#include "engine/core/handles.h"
#include "engine/core/math3d.h"

class CAmbientSounds;
class CGameResource;
class CHFallLeaves;
class CMorphPlayer;
class CQChao;
class CSceneData;
class CSceneEnvironment;
class CSceneNpc;
struct SCENEANIMDESC;
struct SCENEOBJECTDESC;

// Culling and display flags of a listed object or a person.
enum CONTENTFLAG : int32_t {
  CF_WITHIN = 0x0001,  // within the culling distance
  CF_ALWAYS = 0x1000,  // always active (sky and background)
  CF_HIDDEN = 0x2000,  // hidden by the story
};

// Active: within the distance or always active, and not hidden.
inline bool IsContentActive(int32_t flags) { return (flags & (CF_WITHIN | CF_ALWAYS)) && !(flags & CF_HIDDEN); }

struct CULLBOX {
  VECTOR3 centre{0, 0, 0};
  VECTOR3 half{0, 0, 0};
  int32_t flags = CF_WITHIN;
};

enum ANIMSTATE : uint8_t {
  ANIM_WAITING = 0,
  ANIM_DELAYED = 1,
  ANIM_PLAYING = 2,
  ANIM_BOUNCED_OUT = 3,  // finished after the last bounce
  ANIM_PLAYED_OUT = 5,   // finished after the last play
};

struct ANIMOBJSTATE {
  int16_t index = 0;
  int16_t frame = 0;  // also the delay counter while waiting
  uint8_t state = ANIM_WAITING;
  uint8_t direction = 0;  // 0 forward, 1 backward
  uint8_t stop = 0;       // stop at the next key
  SCENEANIMDESC* record = nullptr;
};

// Records of objects outside the content index (a scrolling background) carry
// index -1 and count as always active.
struct SCROLLRECORD {
  int16_t index;
  HOBJECT node;
  float u, v;
};
struct SPINRECORD {
  int16_t index;
  float degrees;
};
struct FRAMEANIMRECORD {
  int16_t index;
  uint8_t ticksPerFrame;
  uint8_t counter;
};
struct OCCLUDERRECORD {
  uint8_t faded;
  int16_t index;
};

class CSceneContent {
 public:
  // Without game tables no people are built (battle stages).
  CSceneContent(CSceneData& scene, const CGameResource* resource);
  ~CSceneContent();
  CSceneContent(const CSceneContent&) = delete;
  CSceneContent& operator=(const CSceneContent&) = delete;

  // The per-frame passes; n is the number of ticks due.
  void Update(int n);
  void Show(int visible);
  void ShowNpcs(int visible);
  // By NPC id (the 1-based row of the NPC table).
  void ShowNpc(int npcId, int show);
  void FaceCamera(const VECTOR3& eye);
  void FadeOccluders(const VECTOR3& camera, const VECTOR3& walker);
  void FollowCamera(const VECTOR3& eye, const VECTOR3& direction);
  void TickWeather(int n, const VECTOR3& ground);
  // Starts keyframed object k; its record the first time when it carries
  // items, else null.
  SCENEANIMDESC* TriggerAnimation(int k);
  void PoseKeyframedObjects();
  int IsInShadowArea(const VECTOR3& point) const;
  // The people's walking routines.
  void UpdateNpcRoutines(int n);

  // Track samplers; frame f counts from the record's first key frame.
  // 1, or 0 without visibility keys.
  static int SampleVisibility(float* out, const SCENEANIMDESC& record, int f);
  // -2 without keys; -1 before the track, 1 after it; inside: 2 when the
  // next key is one frame on, 3 when the previous call sampled more than a
  // frame before this segment, else 0.
  static int SamplePosition(VECTOR3* out, const SCENEANIMDESC& record, int f);
  // -2 at or after the last key frame, -1 at or before the first, else the
  // index of a position or rotation key on the frame (0 when none).
  static int SampleTransform(MATRIX34* matrix, const SCENEANIMDESC& record, int f);

  bool IsActive(int index) const { return index < 0 || IsContentActive(boxes[index].flags); }
  HOBJECT NodeOf(int index) const;
  // The engine light kind (LIGHTTYPE) of light record i.
  int LightKind(int i) const;

  CSceneData& scene;
  std::vector<SCENEOBJECTDESC*> objects;  // by content index
  std::vector<CULLBOX> boxes;             // by content index
  std::vector<SCROLLRECORD> scrolls;
  std::vector<SPINRECORD> spins;
  std::vector<FRAMEANIMRECORD> frameAnims;
  std::vector<int16_t> cameraFacing;
  std::vector<ANIMOBJSTATE> keyframed;
  std::vector<std::unique_ptr<CMorphPlayer>> morphs;
  std::vector<OCCLUDERRECORD> occluders;
  std::vector<std::unique_ptr<CSceneNpc>> people;
  std::unique_ptr<CAmbientSounds> ambientSounds;
  std::unique_ptr<CSceneEnvironment> environment;  // set by the owner
  std::vector<HOBJECT> lightNodes;
  std::vector<std::unique_ptr<CHFallLeaves>> leaves;
  std::vector<std::unique_ptr<CQChao>> grass;
  POLYGONSETDESC shadowAreas;
  HOBJECT skyNode = 0;
  HOBJECT backgroundNode = 0;
  HOBJECT terrain = 0;
  HOBJECT terrainNode = 0;

 private:
  void ListObjects();
  void AddPeople(const CGameResource& resource);
  void AddWindEffects();
  void ResolveTriggers();
  void AddLights();
  void StepKeyframed(ANIMOBJSTATE& o);
  // Alpha and transform at the object's frame; the sampler's result.
  int PoseAt(ANIMOBJSTATE& o);

  static int lastSampledFrame_;
};
