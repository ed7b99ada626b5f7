#pragma once
#include <memory>

class CSceneContent;
class CSceneData;

// A scene file loaded as the stage of a battle: its objects, lights,
// triggers, morphs and weather as in the field, but no people and no map
// record. The battle system creates it when a battle starts.
class CBattleScene {
 public:
  // Loads "<directory>\<fileName>"; a missing file gives an empty stage.
  CBattleScene(const char* fileName, const char* directory);
  ~CBattleScene();
  CBattleScene(const CBattleScene&) = delete;
  CBattleScene& operator=(const CBattleScene&) = delete;

  // Builds the content with its environment and shows it; 1 once shown.
  int BuildContent();
  // The content goes, then the scene data.
  void Release();

  CSceneData* Data() const { return data_.get(); }
  CSceneContent* Content() const { return content_.get(); }

 private:
  std::unique_ptr<CSceneData> data_;
  std::unique_ptr<CSceneContent> content_;
};
