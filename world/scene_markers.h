#pragma once
// The map scene's markers: the bobbing pointers over open portals near the
// player, and the destination marker.
#include <cstdint>
#include <vector>

#include "base/game_math.h"
#include "engine/core/handles.h"
#include "engine/core/math3d.h"

struct PORTALDESC;
struct SCENEZONE;

// A scene zone as the quad-volume test and model take it.
QUADVOLUME ZoneQuad(const SCENEZONE& zone);

class CPortalSet {
 public:
  static constexpr float kMarkerSize = 4;
  // Markers show within this distance of the player in x and y.
  static constexpr float kNearDistance = 200;

  // The records stay the scene's; with no portals nothing is built.
  CPortalSet(int count, std::vector<PORTALDESC>* portals, HOBJECT terrain);
  ~CPortalSet();
  CPortalSet(const CPortalSet&) = delete;
  CPortalSet& operator=(const CPortalSet&) = delete;

  // Out-of-range indices are closed and ignored.
  bool IsOpen(int i) const;
  void SetOpen(int i, int open);
  // Shows the open portals near the player and marks them in active; the
  // portal count.
  int UpdateProximity(const VECTOR3& player);
  // Only the active portals' markers.
  void Show(int visible);
  // The markers bob on one counter shared by every portal set.
  void AnimateMarkers();

  // The bob offset for a counter of 0 to 30.
  static float BobOffset(int counter);
  static int SharedCounter() { return counter_; }

  int count = 0;
  std::vector<PORTALDESC>* portals = nullptr;
  std::vector<HOBJECT> markers;
  std::vector<HOBJECT> areas;
  std::vector<uint8_t> active;
  HOBJECT terrain = 0;

 private:
  HOBJECT BuildMarkerMesh() const;

  static int counter_;
};

class CLocateMarker {
 public:
  static constexpr float kShrinkStep = 1.2f;
  static constexpr float kFadeStep = 0.07f;

  CLocateMarker();
  ~CLocateMarker();
  CLocateMarker(const CLocateMarker&) = delete;
  CLocateMarker& operator=(const CLocateMarker&) = delete;

  void Show(int visible);
  // Puts the marker at the point at the given scale and full alpha, shown.
  void Arm(const VECTOR3& point, float startScale);
  // While active: shrinks, then fades out and hides.
  void Step();

  HOBJECT node = 0;
  float scale = 0;
  float alpha = 0;
  int active = 0;
};
