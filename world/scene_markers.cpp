#include "world/scene_markers.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/game_globals.h"
#include "base/game_math.h"
#include "database/scene_records.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_clone.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/terrain.h"
#include "world/marker_model.h"

int CPortalSet::counter_ = 0;

QUADVOLUME ZoneQuad(const SCENEZONE& zone) {
  QUADVOLUME q{};
  for (int i = 0; i < 4; ++i) q.corner[i][0] = zone.corners[i][0], q.corner[i][1] = zone.corners[i][1];
  q.zMin = zone.zMin;
  q.zMax = zone.zMax;
  return q;
}

namespace {

VECTOR3 ZoneCentre(const SCENEZONE& zone) {
  VECTOR3 c{0, 0, 0};
  for (const auto& corner : zone.corners) c.x += corner[0] / 4, c.y += corner[1] / 4;
  return c;
}

}  // namespace

CPortalSet::CPortalSet(int n, std::vector<PORTALDESC>* records, HOBJECT terrainHandle)
    : portals(records), terrain(terrainHandle) {
  count = records ? std::min(n, static_cast<int>(records->size())) : 0;
  if (count <= 0) {
    count = 0;
    return;
  }
  markers.assign(count, 0);
  areas.assign(count, 0);
  active.assign(count, 0);
  const VECTOR3 down{0, -1, 0};
  for (int i = 0; i < count; ++i) {
    const SCENEZONE& zone = (*portals)[i].zone;
    markers[i] = i == 0 ? BuildMarkerMesh() : CloneNode(markers[0]);
    VECTOR3 at = ZoneCentre(zone);
    float height = 0;
    if (GetTerrainHeight(terrain, &at, &height)) at.z = height;
    at.z += 3;
    SetNodeDirection(markers[i], &at, &down, nullptr);
    if (g_hardwareRendering) SetNodeAlpha(markers[i], 0.6f);
    ShowNode(markers[i], 0);
    const QUADVOLUME quad = ZoneQuad(zone);
    areas[i] = CreateQuadVolumeModel(&quad, nullptr);
  }
}

CPortalSet::~CPortalSet() {
  for (HOBJECT area : areas)
    if (area) DestroyNode(area);
  // Clones first: the first marker holds the mesh they share.
  for (int i = count - 1; i >= 0; --i)
    if (markers[i]) DestroyNode(markers[i]);
}

// A small downward pointer: a tip under four corners.
HOBJECT CPortalSet::BuildMarkerMesh() const {
  const float radius = kMarkerSize - 1.5f;
  const float height = 2 * kMarkerSize;
  MESHVERTEX v[5] = {};
  for (int k = 0; k < 4; ++k) {
    const double angle = (30.0 + 90.0 * k) * std::numbers::pi / 180.0;
    v[k].x = static_cast<float>(radius * std::cos(angle));
    v[k].y = static_cast<float>(radius * std::sin(angle));
    v[k].z = height;
    v[k].nz = 1;
  }
  v[4].nz = -1;
  const MESHPRIM words[] = {PRIM_TRIANGLE, 0, 0, 0, 1, 4, PRIM_TRIANGLE, 0, 0, 1, 2, 4, PRIM_TRIANGLE, 0, 0, 2, 3, 4,
                            PRIM_TRIANGLE, 0, 0, 3, 0, 4, PRIM_TRIANGLE, 0, 0, 0, 2, 1, PRIM_TRIANGLE, 0, 0, 0, 3, 2};
  BeginNode(NODE_MESH);
  AppendMeshData(0, v, 5, words, static_cast<int>(std::size(words)), 6, 1);
  const HOBJECT node = EndNode(0);
  if (g_hardwareRendering) SetMeshFlags(node, MESH_PRELIT);
  else ComputeMeshNormals(node, 1);
  return node;
}

bool CPortalSet::IsOpen(int i) const { return i >= 0 && i < count && (*portals)[i].closed == 0; }

void CPortalSet::SetOpen(int i, int open) {
  if (i < 0 || i >= count) return;
  (*portals)[i].closed = open ? 0 : 1;
  active[i] = open ? 1 : 0;
  ShowNode(markers[i], open ? 1 : 0);
}

int CPortalSet::UpdateProximity(const VECTOR3& player) {
  for (int i = 0; i < count; ++i) {
    VECTOR3 at{0, 0, 0};
    GetNodeWorldVectors(markers[i], &at, nullptr, nullptr);
    const float dx = at.x - player.x, dy = at.y - player.y;
    const bool near = dx * dx + dy * dy <= kNearDistance * kNearDistance;
    active[i] = IsOpen(i) && near ? 1 : 0;
    ShowNode(markers[i], active[i]);
  }
  return count;
}

void CPortalSet::Show(int visible) {
  for (int i = 0; i < count; ++i)
    if (active[i]) ShowNode(markers[i], visible);
}

float CPortalSet::BobOffset(int counter) {
  return counter <= 9 ? -0.5f * static_cast<float>(counter) : -0.25f * static_cast<float>(30 - counter);
}

void CPortalSet::AnimateMarkers() {
  counter_ = counter_ >= 30 ? 0 : counter_ + 1;
  for (int i = 0; i < count; ++i) {
    if (!active[i]) continue;
    const SCENEZONE& zone = (*portals)[i].zone;
    MATRIX34 m;
    GetNodeMatrix(markers[i], &m, 0);
    m.row[3].z = (zone.zMin + zone.zMax) / 2 + BobOffset(counter_);
    SetNodeMatrix(markers[i], &m, TRANSFORM_SET);
  }
}

CLocateMarker::CLocateMarker() {
  node = CreateMarkerModel("locate", 1);
  ComputeMeshNormals(node, 1);
  SetNodeRenderState(node, NRS_DEST_BLEND, 2);
  SetNodeRenderState(node, NRS_SOURCE_BLEND, 5);
  SetNodePosition(node, 0, 0, 0, TRANSFORM_SET);
  ShowNode(node, 0);
}

CLocateMarker::~CLocateMarker() {
  if (node) DestroyNode(node);
}

void CLocateMarker::Show(int visible) {
  if (node) ShowNode(node, visible);
}

void CLocateMarker::Arm(const VECTOR3& point, float startScale) {
  scale = startScale;
  alpha = 1;
  active = 1;
  SetNodePosition(node, point.x, point.y, point.z, TRANSFORM_SET);
  SetNodeAlpha(node, alpha);
  ShowNode(node, 1);
}

void CLocateMarker::Step() {
  if (!active || !node) return;
  MATRIX34 m;
  GetNodeMatrix(node, &m, 1);
  m.row[0].x = scale;
  m.row[1].y = scale;
  SetNodeMatrix(node, &m, TRANSFORM_SET);
  // Stopped at 0: below it the square would mirror and grow again.
  scale = std::max(scale - kShrinkStep, 0.0f);
  if (scale >= 0.01f) return;
  alpha -= kFadeStep;
  SetNodeAlpha(node, alpha);
  if (alpha < 0.01f) {
    active = 0;
    ShowNode(node, 0);
  }
}
