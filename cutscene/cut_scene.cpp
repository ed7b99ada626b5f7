#include "cutscene/cut_scene.h"

#include "components/gcb_light.h"
#include "cutscene/camera_actor.h"
#include "cutscene/creature_actor.h"
#include "cutscene/dialog_actor.h"
#include "cutscene/sg_society.h"
#include "cutscene/viewport_actor.h"
#include "engine/core/nodes.h"
#include "engine/core/viewport_render.h"
#include "world/scene_manager.h"

CCutScene::CCutScene(int width, int height, const char* suffix)
    : width_(width), height_(height), suffix_(suffix && suffix[0] ? std::string(1, suffix[0]) : "") {
  Reset();
}

CCutScene::~CCutScene() {
  DestroyCameraNodes();
  lights_.clear();
  trackSets_.clear();
  actors_.clear();
}

void CCutScene::DestroyCameraNodes() {
  for (HOBJECT node : cameraNodes_) DestroyNode(node);
  cameraNodes_.clear();
}

void CCutScene::Clear() {
  DestroyCameraNodes();
  viewports_.clear();
  trackSets_.clear();
  actors_.clear();
}

int CCutScene::Tick() {
  if (!paused_) {
    for (auto& [type, set] : trackSets_) set->Frame();
    ++currentFrame_;
  }
  // Dialogues sort before cameras, so a waiting dialogue holds every camera
  // in the same tick.
  bool dialogWaits = false;
  for (auto& [type, actor] : actors_) {
    if (type == ACTOR_TCAMERA) {
      if (!dialogWaits) actor->Update(1);
      continue;
    }
    actor->Update(1);
    if (type == ACTOR_DIALOG)
      if (auto* dialog = dynamic_cast<SDialog*>(actor.get()); dialog && dialog->IsWaiting()) dialogWaits = true;
  }
  int wasPaused = paused_;
  paused_ = dialogWaits ? 1 : 0;
  if (wasPaused) return 1;
  return finalFrame_ < currentFrame_ ? -1 : 0;
}

void CCutScene::Reset() {
  for (auto& [type, actor] : actors_) actor->Reset();
  for (auto& [type, set] : trackSets_) set->Reset();
  auto creatures = actors_.equal_range(ACTOR_CREATURE);
  for (auto it = creatures.first; it != creatures.second; ++it)
    if (auto* creature = dynamic_cast<SCreature*>(it->second.get())) creature->SetTerrainFollow(1);
  paused_ = 0;
  currentFrame_ = -1;
}

int CCutScene::GetAnswer() {
  auto it = actors_.find(ACTOR_DIALOG);
  if (it == actors_.end()) return -1;
  auto* dialog = dynamic_cast<SDialog*>(it->second.get());
  return dialog ? dialog->GetAnswer() : -1;
}

void CCutScene::RenderViewports() {
  for (auto& [number, viewport] : viewports_) RenderViewport(viewport->GetEngineViewport(), 0, 1);
}

int CCutScene::AttachScene(SSceneManager* scene) {
  auto creatures = actors_.equal_range(ACTOR_CREATURE);
  bool anyCreature = false;
  for (auto it = creatures.first; it != creatures.second; ++it) {
    auto* creature = dynamic_cast<SCreature*>(it->second.get());
    if (!creature) continue;
    if (scene) {
      creature->SetTerrain(scene->GetTerrainNode(), scene->GetTerrain(), 0, 0);
      creature->SetTerrainFollow(1);
      creature->Attach(&SGSociety::Instance());
      anyCreature = true;
    } else {
      creature->PlaceOnTerrain(0, 0, 0);
      creature->Detach();
    }
  }
  scene_ = scene;
  // The lights serve the creatures: a play without one keeps none.
  if (scene && anyCreature) RebuildLights();
  return 0;
}

void CCutScene::RebuildLights() {
  lights_.clear();
  int count = scene_->GetLightCount();
  for (int i = 0; i < count; ++i) {
    auto light = std::make_unique<CGCBLight>(scene_->GetLightNode(i), scene_->GetLightKind(i));
    light->Attach(&SGSociety::Instance());
    lights_.push_back(std::move(light));
  }
}

SActor* CCutScene::FindActor(int type, std::string_view name) const {
  auto range = actors_.equal_range(type);
  for (auto it = range.first; it != range.second; ++it)
    if (name == it->second->GetName()) return it->second.get();
  return nullptr;
}

int CCutScene::BindViewportCamera(SViewPort* viewport, std::string_view cameraName) {
  auto* camera = dynamic_cast<STCamera*>(FindActor(ACTOR_TCAMERA, cameraName));
  if (!camera || !viewport) return -1;
  viewport->SetCamera(camera);
  return 0;
}
