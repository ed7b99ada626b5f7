// The play's actor creation operations.
#include <cmath>
#include <limits>

#include "cutscene/actor_factory.h"
#include "cutscene/board_actor.h"
#include "cutscene/camera_actor.h"
#include "cutscene/creature_actor.h"
#include "cutscene/cut_scene.h"
#include "cutscene/dialog_actor.h"
#include "cutscene/fade_actor.h"
#include "cutscene/music_actor.h"
#include "cutscene/sg_society.h"
#include "cutscene/sprite_actor.h"
#include "cutscene/viewport_actor.h"
#include "cutscene/wave_actor.h"
#include "engine/core/cameras.h"
#include "engine/media/data_directories.h"
#include "world/scene_manager.h"

namespace {

// A screen size times a fraction, truncated; a fraction from a corrupt script
// (huge, or not a number) cannot overflow the integer.
int ScaleToPixels(int size, float fraction) {
  double pixels = std::trunc(static_cast<double>(size) * static_cast<double>(fraction));
  if (std::isnan(pixels)) return 0;
  if (pixels <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  if (pixels >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  return static_cast<int>(pixels);
}

}  // namespace

SActorTrackSet* CCutScene::AddActor(std::unique_ptr<SActor> actor, int generateName, const std::string& nameBase) {
  int type = actor->TypeId();
  if (generateName) {
    // Room for "_" and any n, so a long base cannot make every candidate alike.
    std::string base = nameBase.substr(0, SActor::kNameSize - 1 - 12);
    for (long n = 0;; ++n) {
      std::string candidate = base + "_" + std::to_string(n);
      if (!FindActor(type, candidate)) {
        actor->SetName(candidate);
        break;
      }
    }
  }
  SActor* added = actors_.emplace(type, std::move(actor))->second.get();
  auto set = std::make_unique<SActorTrackSet>(this, added);
  return trackSets_.emplace(type, std::move(set))->second.get();
}

SActorTrackSet* CCutScene::CreateDialog(const std::string& file, int generateName) {
  std::unique_ptr<SDialog> dialog = GetActorFactory().MakeDialog(file, dialogDirectory);
  if (!dialog) return nullptr;
  return AddActor(std::move(dialog), generateName, file);
}

SActorTrackSet* CCutScene::CreateCreature(const std::string& file, int generateName) {
  SetTextureDirectory(textureDirectory.c_str());
  std::unique_ptr<SCreature> made = GetActorFactory().MakeCreature(file, 1, creatureDirectory);
  if (!made) return nullptr;
  SCreature* creature = made.get();
  if (scene_) creature->Attach(&SGSociety::Instance());
  SActorTrackSet* set = AddActor(std::move(made), generateName, file);
  if (scene_) creature->SetTerrain(scene_->GetTerrainNode(), scene_->GetTerrain(), 0, 0);
  creature->SetTerrainFollow(1);
  return set;
}

SActorTrackSet* CCutScene::CreateCamera(float aspect, float lens, float aperture, float nearPlane, float farPlane,
                                        HOBJECT* cameraNode, int generateName) {
  HOBJECT node = CreateCameraNode(0, aspect, lens, aperture, nearPlane, farPlane);
  if (cameraNode) *cameraNode = node;
  cameraNodes_.push_back(node);
  std::unique_ptr<STCamera> camera = GetActorFactory().MakeCamera(node);
  if (!camera) return nullptr;
  return AddActor(std::move(camera), generateName, "camera");
}

SActorTrackSet* CCutScene::CreateMusic(int generateName) {
  std::unique_ptr<SMusic> music = GetActorFactory().MakeMusic();
  if (!music) return nullptr;
  return AddActor(std::move(music), generateName, "music");
}

SActorTrackSet* CCutScene::CreateViewport(float x, float y, float width, float height, int number, int generateName) {
  std::unique_ptr<SViewPort> viewport =
      GetActorFactory().MakeViewport(ScaleToPixels(width_, x), ScaleToPixels(height_, y), ScaleToPixels(width_, width),
                                     ScaleToPixels(height_, height));
  if (!viewport) return nullptr;
  if (!viewports_.emplace(number, viewport.get()).second) return nullptr;
  return AddActor(std::move(viewport), generateName, "viewport");
}

SActorTrackSet* CCutScene::CreateWave(const std::string& file, int generateName) {
  std::unique_ptr<SWave> wave = GetActorFactory().MakeWave(file, waveDirectory);
  if (!wave) return nullptr;
  return AddActor(std::move(wave), generateName, file);
}

SActorTrackSet* CCutScene::CreateBoard(const std::string& file, int frames, int width, int height, int generateName) {
  std::unique_ptr<SBoard> board = GetActorFactory().MakeBoard(file, textureDirectory, frames, width, height);
  if (!board) return nullptr;
  return AddActor(std::move(board), generateName, file);
}

SActorTrackSet* CCutScene::CreateFade(int generateName) {
  std::unique_ptr<SFade> fade = GetActorFactory().MakeFade(0, 0, width_, height_);
  if (!fade) return nullptr;
  return AddActor(std::move(fade), generateName, "fade");
}

SActorTrackSet* CCutScene::CreateSprite(const std::string& file, int frames, int columns, int rows, int generateName) {
  std::unique_ptr<SSprite> sprite =
      GetActorFactory().MakeSprite(file + suffix_, spriteDirectory, frames, columns, rows, 1);
  if (!sprite) return nullptr;
  sprite->Show(0);
  return AddActor(std::move(sprite), generateName, file);
}
