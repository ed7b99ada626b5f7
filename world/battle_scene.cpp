#include "world/battle_scene.h"

#include "world/scene_content.h"
#include "world/scene_data.h"
#include "world/scene_environment.h"

CBattleScene::CBattleScene(const char* fileName, const char* directory)
    : data_(std::make_unique<CSceneData>(directory, fileName)) {}

CBattleScene::~CBattleScene() { Release(); }

int CBattleScene::BuildContent() {
  if (!data_) return 0;
  content_.reset();
  // No game tables: a stage has no people.
  content_ = std::make_unique<CSceneContent>(*data_, nullptr);
  content_->environment = std::make_unique<CSceneEnvironment>(data_->name.c_str());
  content_->Show(1);
  return 1;
}

void CBattleScene::Release() {
  content_.reset();
  data_.reset();
}
