#include "world/map_scene.h"

#include <strings.h>
#include <algorithm>
#include <cmath>

#include "base/game_math.h"
#include "components/gc_base.h"
#include "components/gcb_light.h"
#include "components/mix_creature.h"
#include "components/society_ext.h"
#include "database/game_resource.h"
#include "engine/core/engine_queries.h"
#include "engine/core/node_bounds.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "world/ambient_sounds.h"
#include "world/automap_panel.h"
#include "world/game_camera.h"
#include "world/object_state_memory.h"
#include "world/scene_content.h"
#include "world/scene_data.h"
#include "world/scene_environment.h"
#include "world/scene_fade.h"
#include "world/scene_host.h"
#include "world/scene_markers.h"
#include "world/scene_npc.h"

namespace {

constexpr float kNearShadowSquared = 160000;
constexpr int kBlobShadow = 2;
constexpr int kProjectedShadow = 16;

CSocietyExt* SceneSociety() { return SceneHost().society ? SceneHost().society() : nullptr; }

// The name up to its first "." (and at most limit characters).
std::string BaseName(const std::string& name, size_t limit) {
  const std::string cut = name.substr(0, limit);
  return cut.substr(0, cut.find('.'));
}

float AxisGap(float eye, float centre, float half) {
  const float d = std::fabs(eye - centre) - half;
  return d > 0 ? d : 0;
}

}  // namespace

MScene::MScene(const char* sceneFile, const CGameResource* resource) : gameResource(resource) {
  automap = new CAutomapPanel();
  automap->SetAlpha(0.5f);
  automap->Show(0);
  Load(sceneFile);
  data->startPosition.z += 40;
  camera = new CGameCamera();
  camera->SetProjection(65, 4.0f / 3.0f, 10, 7500);
  if (content->ambientSounds) content->ambientSounds->AttachListener(camera->node);
  locate = std::make_unique<CLocateMarker>();
  Show(1, 0);
}

MScene::~MScene() {
  Unload(1);
  delete camera;
  locate.reset();
  memory.reset();
  delete automap;
  fade.reset();
  RemoveLights();
  if (SceneHost().left) SceneHost().left(this);
}

void MScene::Load(const char* sceneFile) {
  // The content refers to the scene data: a scene still loaded goes first.
  if (content) Unload(1);
  sceneName = std::string(sceneFile ? sceneFile : "").substr(0, kMaxSceneName);
  data = std::make_unique<CSceneData>("scenes", sceneName.c_str());
  content = std::make_unique<CSceneContent>(*data, gameResource);
  content->environment = std::make_unique<CSceneEnvironment>(sceneName.c_str());
  portals = std::make_unique<CPortalSet>(static_cast<int>(data->portals.size()), &data->portals, content->terrain);
  EnterMap();
  if (SceneSociety()) CreateLights();
  if (mapRecord) {
    automapReady = automap->BuildForScene(sceneName.c_str(), content->terrainNode, 1) == 0 ? 1 : 0;
  } else {
    // The previous scene's map must not stay in use; the explored cells stay.
    automapReady = 0;
    automap->ClearScene();
  }
  UpdateAutomapPortals(-1);
  automap->Show(0);
  if (SceneHost().entered) SceneHost().entered(this);
}

void MScene::EnterMap() {
  cullingDistance = kCullingDistance;
  mapIndex = std::max(FindMapIndex(sceneName.c_str()), 0);
  mapRecord = nullptr;
  if (mapIndex > 0 && gameResource && mapIndex <= static_cast<int>(gameResource->Maps().size()))
    mapRecord = &gameResource->Maps()[mapIndex - 1];
  if (content->skyNode || content->backgroundNode) ScaleSkyModels();
  if (!memory) memory = std::make_unique<CObjectStateMemory>();
  memory->Restore(*this);
  ApplyObjectLinks();
}

int MScene::FindMapIndex(const char* name) const {
  std::string wanted;
  if (name) {
    wanted = name;
  } else {
    if (mapIndex != 0) return -1;
    wanted = data ? data->name : "";
  }
  wanted = BaseName(wanted, kMaxMapName);
  if (!gameResource) return 0;
  const std::vector<MAPDESC>& maps = gameResource->Maps();
  for (size_t i = 0; i < maps.size(); ++i)
    if (strcasecmp(BaseName(maps[i].SceneName(), MAPDESC::kSize).c_str(), wanted.c_str()) == 0)
      return static_cast<int>(i + 1);
  return 0;
}

void MScene::ScaleSkyModels() {
  const HOBJECT model = content->skyNode ? content->skyNode : content->backgroundNode;
  VECTOR3 corners[8] = {};
  GetNodeWorldBox(model, nullptr, corners, nullptr);
  const float extent = std::fabs(corners[0].x - corners[2].x);
  float scale = 1;
  if (extent >= 1000) {
    const float target = extent < 6000    ? 1000 + 0.4f * (extent - 1000)
                         : extent < 10000 ? 3000 + 0.3f * (extent - 6000)
                                          : 4200 + 0.18f * (extent - 10000);
    scale = target / extent;
  }
  for (HOBJECT node : {content->skyNode, content->backgroundNode})
    if (node) ScaleNode(node, scale, scale, scale, TRANSFORM_SET);
  skyScale = scale;
}

void MScene::Unload(int remember) {
  if (!content) return;
  Show(0, 0);
  if (SceneHost().specialEvents) SceneHost().specialEvents(mapIndex, 1);
  if (remember) memory->Save(*this);
  else memory->Clear();
  RemoveLights();
  portals.reset();
  content.reset();
  data.reset();
}

void MScene::StepFade() {
  if (!fade) return;
  if (fade->Step()) fade.reset();
  fadeActive = IsFading() ? 1 : 0;
}

bool MScene::IsFading() const { return fade && fade->IsFading(); }

void MScene::Tick(int n) {
  StepFade();
  if (!content) return;
  VECTOR3 eye{0, 0, 0};
  camera->GetPositionAndDirection(&eye, nullptr);
  VECTOR3 walker{0, 0, 0}, facing{0, 1, 0};
  if (SceneHost().walkerPosition) SceneHost().walkerPosition(&walker, &facing);
  content->FadeOccluders(eye, walker);
  content->TickWeather(n, walker);
  content->Update(n);
  content->FaceCamera(eye);
  if (automapReady) {
    automap->UpdatePlayer(walker.x, walker.y, facing.x, facing.y);
    automap->Redraw(n);
  }
  if (content->ambientSounds) content->ambientSounds->Update(1, eye);
  portals->AnimateMarkers();
  locate->Step();
}

void MScene::UpdateCamera(const VECTOR3*, const VECTOR3*, int, int cull) {
  camera->Update(1);
  if (!cull || !content) return;
  CullByDistance(0);
  VECTOR3 eye{0, 0, 0}, direction{0, 0, 0};
  camera->GetPositionAndDirection(&eye, &direction);
  content->FollowCamera(eye, direction);
}

void MScene::CullByDistance(int useCurrentCamera) {
  if (!content) return;
  VECTOR3 eye{0, 0, 0};
  if (useCurrentCamera) {
    if (const HOBJECT current = GetCurrentCamera()) GetNodeWorldVectors(current, &eye, nullptr, nullptr);
  } else {
    camera->GetPositionAndDirection(&eye, nullptr);
  }
  const float limit = cullingDistance * cullingDistance;
  for (size_t i = 0; i < content->boxes.size(); ++i) {
    CULLBOX& box = content->boxes[i];
    if (box.flags & CF_HIDDEN) continue;
    const float dx = AxisGap(eye.x, box.centre.x, box.half.x);
    const float dy = AxisGap(eye.y, box.centre.y, box.half.y);
    const float dz = AxisGap(eye.z, box.centre.z, box.half.z);
    if (dx * dx + dy * dy + dz * dz < limit) box.flags |= CF_WITHIN;
    else box.flags &= 0xFFFF & ~CF_WITHIN;
    ShowNode(content->objects[i]->node, box.flags & CF_WITHIN);
  }
  const float peopleLimit = std::min(limit, kPeopleLimitSquared);
  for (const auto& person : content->people) {
    CGCBMixCreature* creature = person->creature;
    if (!creature || (person->flags & NPC_HIDDEN)) continue;
    const float dx = eye.x - person->position.x, dy = eye.y - person->position.y, dz = eye.z - person->position.z;
    const float d = dx * dx + dy * dy + dz * dz;
    const bool inside = d < peopleLimit;
    if (inside != ((person->flags & (NPC_WITHIN | NPC_ALWAYS)) != 0)) {
      if (inside) {
        creature->Attach(SceneSociety());
        creature->frozen = 1;
      } else {
        creature->Detach();
      }
    }
    if (inside) {
      person->flags |= NPC_WITHIN;
      if (shadowDetail) {
        creature->SetShadowMode(d > kNearShadowSquared ? kBlobShadow : kProjectedShadow);
        creature->ShowShadow(1);
      }
    } else {
      person->flags &= 0xFFFF & ~NPC_WITHIN;
    }
    creature->SetVisible(inside ? 1 : 0);
  }
}

void MScene::Animate(int frames) {
  const HOBJECT eyeNode = GetCurrentCamera();
  if (!eyeNode) return;
  StepFade();
  if (!content) return;
  MATRIX34 m;
  GetNodeMatrix(eyeNode, &m, 0);
  const VECTOR3 position{m.row[3].x, m.row[3].y, 0};
  const VECTOR3 direction{-m.row[2].x, -m.row[2].y, -m.row[2].z};
  content->FollowCamera(position, direction);
  content->TickWeather(frames, position);
  content->Update(frames);
  content->FaceCamera(position);
}

HOBJECT MScene::GetLightNode(int i) { return i >= 0 && i < static_cast<int>(lights.size()) ? lights[i]->lightNode : 0; }

int MScene::GetLightKind(int i) { return i >= 0 && i < static_cast<int>(lights.size()) ? lights[i]->lightKind : 0; }

int MScene::GetLightCount() { return static_cast<int>(lights.size()); }

HOBJECT MScene::GetTerrain() { return content ? content->terrain : 0; }

HOBJECT MScene::GetTerrainNode() { return content ? content->terrainNode : 0; }

void MScene::Show(int visible, int fadeDirection) {
  if (content) content->Show(visible);
  if (portals) portals->Show(visible);
  if (fadeDirection) {
    StartFade(fadeDirection, 0);
  } else if (fade) {
    fade.reset();
    fadeActive = 0;
  }
}

void MScene::StartFade(int direction, int hold) {
  fade = std::make_unique<CFadePlane>(direction, kFadeFrames, hold);
  fadeActive = 1;
}

int MScene::FindPortalAt(const VECTOR3& point, std::string* name, int* destinationPoint) const {
  if (!data) return 0;
  for (const PORTALDESC& p : data->portals) {
    if (p.closed != 0) continue;
    const QUADVOLUME quad = ZoneQuad(p.zone);
    if (!IsPointInQuadVolume(&point, &quad)) continue;
    if (name) *name = p.destination.substr(0, 16);
    if (destinationPoint) *destinationPoint = p.destinationPoint;
    return 1;
  }
  return 0;
}

const VECTOR3* MScene::GetStartPosition() const { return data ? &data->startPosition : nullptr; }

void MScene::SetPortalOpen(int i, int open) {
  if (!portals || portals->IsOpen(i) == (open != 0)) return;
  portals->SetOpen(i, open);
  UpdateAutomapPortals(i);
}

void MScene::UpdateAutomapPortals(int i) {
  if (!data) return;
  auto icon = [&](int k) {
    const SCENEZONE& z = data->portals[k].zone;
    AUTOMAPICONDESC d;
    d.x = (z.corners[0][0] + z.corners[2][0]) / 2;
    d.y = (z.corners[0][1] + z.corners[2][1]) / 2;
    d.kind = 1;
    d.state = data->portals[k].closed == 0 ? 1 : 5;
    d.index = k;
    return d;
  };
  const int count = static_cast<int>(data->portals.size());
  if (i < 0) {
    std::vector<AUTOMAPICONDESC> icons;
    for (int k = 0; k < count; ++k) icons.push_back(icon(k));
    automap->SetPortalIcons(icons);
  } else if (i < count) {
    automap->UpdatePortalIcon(icon(i));
  }
}

void MScene::ApplyObjectLinks() {
  if (!content) return;
  for (const ANIMOBJSTATE& o : content->keyframed) {
    const int value = o.record->links;
    if (value <= 7) continue;
    const int target = value / 8 - 1;
    const bool played = o.frame > 1;
    if (value & 0x4) {
      if (target >= static_cast<int>(data->triggers.size())) continue;
      TRIGGERDESC& t = data->triggers[target];
      t.CurrentState() = static_cast<uint8_t>(played ? 1 - t.InitialState() : t.InitialState());
    } else {
      SetPortalOpen(target, played ? 1 : 0);
    }
  }
}

void MScene::CreateLights() {
  if (!content) return;
  // Built once per scene: a second call replaces the first set.
  RemoveLights();
  CSocietyExt* society = SceneSociety();
  for (size_t i = 0; i < data->lights.size() && i < content->lightNodes.size(); ++i) {
    auto* light = new CGCBLight(content->lightNodes[i], content->LightKind(static_cast<int>(i)));
    light->Attach(society);
    lights.push_back(light);
  }
  if (society) society->SetMode(mapRecord && mapRecord->LightFlag() ? 1 : 3);
}

void MScene::RemoveLights() {
  while (!lights.empty()) {
    CGCBLight* light = lights.front();
    lights.erase(lights.begin());
    light->Detach();
    delete light;
  }
}

void MScene::AttachCamera(HOBJECT target, HOBJECT terrain, HOBJECT viewport) {
  camera->targetNode = target;
  camera->baseYaw = static_cast<float>(-20.0 * 3.14159265358979323846 / 180.0);
  camera->ResetOrbit(85);
  camera->sceneData = data.get();
  camera->scene = this;
  camera->SetViewport(viewport);
  camera->terrain = terrain;
}
