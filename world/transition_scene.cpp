#include "world/transition_scene.h"

#include "engine/core/node_states.h"
#include "world/scene_content.h"
#include "world/scene_data.h"
#include "world/scene_environment.h"

CTransScene::CTransScene(const char* fileName)
    : data_(std::make_unique<CSceneData>("scenes", fileName)),
      content_(std::make_unique<CSceneContent>(*data_, nullptr)) {
  // The effect is lit and fogged as its own scene says, not as the field was.
  content_->environment = std::make_unique<CSceneEnvironment>(data_->name.c_str());
}

CTransScene::~CTransScene() {
  content_.reset();
  data_.reset();
}

int CTransScene::GetModelCount() const { return static_cast<int>(content_->objects.size()); }

HOBJECT CTransScene::GetModel(int n) const {
  if (n < 0 || n >= GetModelCount()) return 0;
  return content_->NodeOf(n);
}

void CTransScene::ShowAll(int flag) {
  for (int n = 0; n < GetModelCount(); ++n) ShowNode(GetModel(n), flag);
}
