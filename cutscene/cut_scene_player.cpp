#include "cutscene/cut_scene_player.h"

#include <filesystem>
#include <system_error>

#include "cutscene/sg_society.h"
#include "world/scene_manager.h"

CCutScenePlayer::CCutScenePlayer() {
  std::error_code ec;
  prefix_ = std::filesystem::current_path(ec).string() + "\\";
}

CCutScenePlayer::~CCutScenePlayer() {
  Stop();
  SGSociety::Shutdown();
}

void CCutScenePlayer::Create(int width, int height, const char* suffix, int) {
  Stop();
  play_ = std::make_unique<CCutScene>(width, height, suffix);
}

void CCutScenePlayer::Stop() {
  if (!play_) return;
  play_->Reset();
  play_.reset();
}

int CCutScenePlayer::AttachScene(SSceneManager* scene) {
  if (!play_) return -1;
  scene_ = scene;
  return play_->AttachScene(scene);
}

void CCutScenePlayer::SetDirectories(const char* creature, const char* dialog, const char* waves, const char* texture,
                                     const char* scripts) {
  auto join = [this](const char* name) { return prefix_ + (name ? name : ""); };
  creatureDirectory_ = join(creature);
  dialogDirectory_ = join(dialog);
  waveDirectory_ = join(waves);
  textureDirectory_ = join(texture);
  scriptDirectory_ = join(scripts);
  if (!play_) return;
  play_->creatureDirectory = creatureDirectory_;
  play_->dialogDirectory = dialogDirectory_;
  play_->waveDirectory = waveDirectory_;
  play_->textureDirectory = textureDirectory_;
}

int CCutScenePlayer::Load(const char* name, int binary) {
  if (!play_) return -1;
  int result = play_->Load(name ? name : "", scriptDirectory_, binary);
  playing_ = result >= 0 ? 1 : 0;
  return result;
}

int CCutScenePlayer::Tick(int n) {
  if (!play_ || !playing_) return 0;
  for (int i = 0; i < n; ++i) play_->Tick();
  if (scene_) scene_->Animate(0);
  if (play_->CurrentFrame() < play_->FinalFrame()) return 1;
  playing_ = 0;
  answer_ = play_->GetAnswer();
  play_->Reset();
  play_.reset();
  return 0;
}
