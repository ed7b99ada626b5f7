#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "engine/core/handles.h"
#include "engine/core/math3d.h"

class CGame;
class CPortalSet;
class ObjBoundVolume;
struct TRIGGERDESC;

// Cursor types: what lies under the game cursor.
enum CURSORTYPE : int {
  CT_NOTHING = 0,
  CT_OBJECT = 1,
  CT_CHECK_OBJECT = 2,  // "_CHK"
  CT_MARKER = 3,
  CT_NPC = 4,          // turns towards the walker
  CT_EXAMINE_NPC = 6,  // kinds 'h' to 'j'
  CT_TRIGGER = 7,
  CT_DOOR = 8,  // story-gated "_hitdoor"
};

// The 1-based position in the list of the node picked under (x, y) in
// viewport 0; 0 when none.
int PickNodeIndex(const HOBJECT* nodes, int count, int flag, int x, int y);

// Every field tick: which characters, objects and trigger volumes lie near
// the walker (the walker collides with their volumes, a 'k' character close
// enough starts its talk), and what lies under the cursor.
//
// The game's lists hold indices: NPC lists index the scene's people and
// CGame::npcVolumes, object lists the scene's content objects and
// CGame::objectVolumes, trigger lists the scene file's triggers.
class CPickManager {
 public:
  static constexpr int kMaxMarkers = 12;
  // A 'k' character talks within this gap, from behind within the wider one.
  static constexpr float kTalkGap = 60;
  static constexpr float kTalkGapBehind = 140;
  static constexpr float kBehindCosine = 0.81915206f;  // 35 degrees
  // Ray hits nearer the camera than this are ignored.
  static constexpr float kNearestHit = 20;
  // The door opens to the cursor between these relative events.
  static constexpr int kDoorOpenEvent = 184;
  static constexpr int kDoorClosedEvent = 409;

  explicit CPickManager(CGame* game);

  // 1 when it started an approach.
  int Scan();
  void PickAt(int x, int y);
  // Ignored once 12 are registered.
  void AddMarker(int index, HOBJECT node);
  void ClearMarkers() { markerCount = 0; }
  // The portals near the player (their active flags) become the markers.
  void MarkPortals(const CPortalSet& portals);
  // Whether the camera ray through (x, y) hits the trigger's box.
  int TestRayTrigger(const TRIGGERDESC& trigger, int x, int y) const;

  int closeUpActive = 0;
  CGame* game;
  int closeUpGroup = 0;
  int markerCount = 0;
  std::array<uint8_t, kMaxMarkers> markerIndices{};
  std::array<HOBJECT, kMaxMarkers> markerNodes{};
  std::vector<uint8_t> nearNpcs;
  std::vector<uint8_t> objectIndices;
  std::vector<HOBJECT> objectNodes;
  std::vector<uint8_t> examIndices;
  std::vector<uint8_t> chkIndices;
  std::vector<HOBJECT> chkNodes;
  std::vector<int> triggerHits;
  std::vector<uint8_t> doorIndices;
  std::vector<HOBJECT> doorNodes;
  std::vector<ObjBoundVolume*> allVolumes;  // the walker collides with these
  std::vector<ObjBoundVolume*> npcVolumes;
  std::vector<ObjBoundVolume*> examVolumes;
  std::vector<ObjBoundVolume*> objectVolumes;  // and with these
  int pickMode = 0;                            // 4 after the first mouse move
  int16_t target = -1;
  int16_t clickType = 0;

 private:
  void ClearLists();
  // The camera ray through the screen point; false without a camera.
  bool CameraRay(int x, int y, VECTOR3* origin, VECTOR3* direction) const;
  // The first trigger of the list hit by the ray; -1 when none.
  int FirstTriggerHit(const std::vector<int>& triggers, int x, int y) const;
  // The nearest NPC box hit beyond 20 and nearer than nearest, not behind a
  // wall; -1 when none.
  int NearestNpcHit(const std::vector<ObjBoundVolume*>& volumes, const std::vector<uint8_t>& indices,
                    const VECTOR3& origin, const VECTOR3& direction, float* nearest) const;
  void ScanNpcs(const std::vector<int>& list, std::vector<ObjBoundVolume*>* volumes, std::vector<uint8_t>* indices);
};
