#pragma once
#include <memory>

#include "engine/core/handles.h"

class CSceneData;
class CSceneContent;

// The models of a screen transition, read from a scene file in "scenes"
// (no people), lit by that scene's own environment; missing files give no
// models.
class CTransScene {
 public:
  explicit CTransScene(const char* fileName);
  ~CTransScene();
  CTransScene(const CTransScene&) = delete;
  CTransScene& operator=(const CTransScene&) = delete;

  int GetModelCount() const;
  // The object's node; 0 outside the models.
  HOBJECT GetModel(int n) const;
  void ShowAll(int flag);

 private:
  std::unique_ptr<CSceneData> data_;
  std::unique_ptr<CSceneContent> content_;
};
