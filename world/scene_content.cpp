#include "world/scene_content.h"

#include <strings.h>
#include <algorithm>

#include "components/h_fall_leaves.h"
#include "components/q_chao.h"
#include "database/game_resource.h"
#include "engine/core/billboards.h"
#include "engine/core/lights.h"
#include "engine/core/node_bounds.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/terrain.h"
#include "platform/crt.h"
#include "world/ambient_sounds.h"
#include "world/scene_data.h"
#include "world/scene_environment.h"
#include "world/scene_morph_player.h"
#include "world/scene_npc.h"

namespace {

bool StartsWith(const std::string& name, char c) { return !name.empty() && name[0] == c; }

void ClearSkyStates(HOBJECT node) {
  SetNodeRenderState(node, NRS_LIGHTING, 0);
  SetNodeRenderState(node, NRS_FOG, 0);
  SetNodeRenderState(node, NRS_DEPTH_WRITE, 0);
}

CULLBOX BoxOf(const SCENEOBJECTDESC& o) {
  CULLBOX box;
  if (o.kind == SOBJ_BILLBOARD && !o.parts.empty()) {
    const SCENEPARTDESC& p = o.parts[0];
    box.centre = {p.diffuse[0], p.diffuse[1], p.diffuse[2]};
    box.half = {p.ambient[0] / 2, p.ambient[0] / 2, p.ambient[1] / 2};
  } else {
    VECTOR3 corners[8] = {};
    GetNodeWorldBox(o.node, &box.centre, corners, nullptr);
    VECTOR3 lo = corners[0], hi = corners[0];
    for (const VECTOR3& c : corners) {
      lo = {std::min(lo.x, c.x), std::min(lo.y, c.y), std::min(lo.z, c.z)};
      hi = {std::max(hi.x, c.x), std::max(hi.y, c.y), std::max(hi.z, c.z)};
    }
    box.half = {(hi.x - lo.x) / 2, (hi.y - lo.y) / 2, (hi.z - lo.z) / 2};
  }
  box.flags = CF_WITHIN;
  if (o.flags & (SCENEOBJECTDESC::kSky | SCENEOBJECTDESC::kMountain)) box.flags |= CF_ALWAYS;
  return box;
}

}  // namespace

int CSceneContent::lastSampledFrame_ = 0;

CSceneContent::CSceneContent(CSceneData& sceneData, const CGameResource* resource) : scene(sceneData) {
  ListObjects();
  for (const SCENESHADOWDESC& s : scene.shadows) shadowAreas.polygons.push_back({s.points});
  if (resource) AddPeople(*resource);
  AddWindEffects();
  ResolveTriggers();
  AddLights();
}

CSceneContent::~CSceneContent() {
  for (HOBJECT light : lightNodes) DestroyNode(light);
  if (terrain) DestroyTerrain(terrain, 0);
  environment.reset();
  people.clear();
  ambientSounds.reset();
  morphs.clear();
  leaves.clear();
  grass.clear();
}

HOBJECT CSceneContent::NodeOf(int index) const {
  return index >= 0 && index < static_cast<int>(objects.size()) ? objects[index]->node : 0;
}

void CSceneContent::ListObjects() {
  size_t nextMorph = 0;
  for (const auto& owned : scene.objects) {
    SCENEOBJECTDESC& o = *owned;
    const bool listed = o.kind != SOBJ_TERRAIN && o.kind != SOBJ_BACKGROUND_A && o.kind != SOBJ_BACKGROUND_B;
    const auto index = static_cast<int16_t>(listed ? objects.size() : -1);
    if (o.flags & SCENEOBJECTDESC::kSky) {
      skyNode = o.node;
      ClearSkyStates(o.node);
    }
    if (o.flags & SCENEOBJECTDESC::kMountain) {
      backgroundNode = o.node;
      ClearSkyStates(o.node);
    }
    if ((o.flags & SCENEOBJECTDESC::kScroll) || o.kind == 3) scrolls.push_back({index, o.node, o.scrollU, o.scrollV});
    switch (o.kind) {
      case SOBJ_TERRAIN:
        // One terrain per scene; a second terrain object stays a hidden mesh.
        if (!terrain) {
          terrain = CreateTerrain(o.node, 20, 30.0f);
          terrainNode = o.node;
        }
        SetNodeDrawMode(o.node, 2);
        ShowNode(o.node, 0);
        break;
      case SOBJ_BACKGROUND_A:
      case SOBJ_BACKGROUND_B:
        backgroundNode = o.node;
        ClearSkyStates(o.node);
        break;
      case SOBJ_SPINNING: spins.push_back({index, o.spin}); break;
      case SOBJ_KEYFRAMED:
        if (o.animation) keyframed.push_back({index, 0, ANIM_WAITING, 0, 0, o.animation.get()});
        break;
      case SOBJ_BILLBOARD:
        if (!o.parts.empty() && o.parts[0].frameCount > 0) {
          const int frames = o.parts[0].frameCount;
          frameAnims.push_back({index, o.parts[0].ticksPerFrame, 0});
          // rand() of 32767 would point one past the last frame.
          SetBillboardFrame(o.node, std::min(plat::Rand() * frames / plat::kRandMax, frames - 1));
        }
        break;
      case SOBJ_MORPH:
        // Objects beyond the morph entries, and entries without frames, stand still.
        if (nextMorph < scene.morphs.size()) {
          SCENEMORPHDESC& entry = scene.morphs[nextMorph++];
          if (entry.frameCount > 0 && entry.vertexCount > 0)
            morphs.push_back(std::make_unique<CMorphPlayer>(o.node, &entry, index));
        }
        break;
      default:
        if (StartsWith(o.name, '!')) cameraFacing.push_back(index);
        if (StartsWith(o.name, '?')) occluders.push_back({0, index});
        break;
    }
    if (!listed) continue;
    objects.push_back(&o);
    boxes.push_back(BoxOf(o));
  }
}

void CSceneContent::AddPeople(const CGameResource& resource) {
  for (size_t i = 0; i < scene.people.size(); ++i)
    people.push_back(std::make_unique<CSceneNpc>(scene.people[i], resource, terrain, static_cast<int>(i), people));
}

void CSceneContent::AddWindEffects() {
  for (SCENEEXTANIMDESC& e : scene.extAnims) {
    if (e.kind == EXTANIM_LEAF_FALL) {
      for (size_t k = 0; k < keyframed.size(); ++k) {
        const SCENEOBJECTDESC* o = objects[keyframed[k].index];
        if (strncasecmp(o->name.c_str(), e.objectName.c_str(), 15) != 0) continue;
        e.objectIndex = static_cast<int32_t>(k);
        auto effect = std::make_unique<CHFallLeaves>(keyframed[k].record, o->node);
        effect->Setup(e.zone, e.count);
        leaves.push_back(std::move(effect));
        break;
      }
    } else if (e.kind == EXTANIM_GRASS_SWING) {
      for (size_t k = 0; k < morphs.size(); ++k) {
        const int index = morphs[k]->contentIndex;
        if (index < 0 || strncasecmp(objects[index]->name.c_str(), e.objectName.c_str(), 15) != 0) continue;
        e.objectIndex = static_cast<int32_t>(k);
        auto effect = std::make_unique<CQChao>(e.count, e.zone, morphs[k]->entry, morphs[k]->node);
        effect->SetEnabled(1);
        grass.push_back(std::move(effect));
        break;
      }
    }
  }
}

void CSceneContent::ResolveTriggers() {
  int sounds = 0;
  for (TRIGGERDESC& t : scene.triggers) {
    if (t.type == TRIGGER_SOUND) ++sounds;
    const size_t n = std::min(t.targetNames.size(), static_cast<size_t>(TRIGGERDESC::kMaxTargets));
    for (size_t j = 0; j < n; ++j) {
      for (size_t k = 0; k < keyframed.size(); ++k) {
        if (strncasecmp(t.targetNames[j].c_str(), objects[keyframed[k].index]->name.c_str(), 11) != 0) continue;
        t.targetIndices[j] = static_cast<uint8_t>(k);
        break;
      }
    }
  }
  if (sounds == 0) return;
  ambientSounds = std::make_unique<CAmbientSounds>(sounds);
  for (const TRIGGERDESC& t : scene.triggers) {
    if (t.type != TRIGGER_SOUND) continue;
    VECTOR3 at{0, 0, (t.zone.zMin + t.zone.zMax) / 2};
    for (const auto& c : t.zone.corners) at.x += c[0] / 4, at.y += c[1] / 4;
    ambientSounds->AddEmitter(t.WaveName().c_str(), at);
  }
}

int CSceneContent::LightKind(int i) const {
  if (i < 0 || i >= static_cast<int>(scene.lights.size())) return 0;
  const int type = scene.lights[i].type;
  return type == 0 ? LIGHT_POINT : type == 1 ? LIGHT_SPOT : LIGHT_DIRECTIONAL;
}

void CSceneContent::AddLights() {
  for (size_t i = 0; i < scene.lights.size(); ++i) {
    const SCENELIGHTDESC& l = scene.lights[i];
    const int type = LightKind(static_cast<int>(i));
    const HOBJECT node = CreateLightNode(0, type, l.intensity, l.color);
    SetLightRange(node, l.range);
    const VECTOR3 direction = type == LIGHT_POINT ? VECTOR3{0, 0, 1} : l.direction;
    SetNodeDirection(node, &l.position, &direction, nullptr);
    if (type == LIGHT_SPOT) SetSpotlightCone(node, l.innerCone, l.outerCone, 1.0f);
    lightNodes.push_back(node);
  }
}

int CSceneContent::IsInShadowArea(const VECTOR3& point) const {
  if (shadowAreas.polygons.empty()) return 0;
  return IsPointInPolygonSet(&shadowAreas, &point, 1) ? 1 : 0;
}
