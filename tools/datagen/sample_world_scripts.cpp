// The sample world's cut-scene and the battle's text files.
#include "tools/datagen/battle_text_writer.h"
#include "tools/datagen/cutscene_writer.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_parts.h"

namespace datagen {

using namespace sample;

// Fades in from black, holds, and fades out again.
CutSceneData FadeCutScene() {
  CutPlayerData fade;
  fade.type = "FADE";
  fade.name = kFadeActor;
  fade.keys = {{"SHOW", 0, {1}},
               {"RGB", 0, {0, 0, 0}},
               {"OPAQUE", 0, {0, 1.0f}},
               {"OPAQUE", 20, {0, 0.0f}},
               {"OPAQUE", 40, {0, 0.0f}},
               {"OPAQUE", kCutSceneFrames, {0, 1.0f}}};
  CutSceneData scene;
  scene.finalFrame = kCutSceneFrames;
  scene.players = {fade};
  return scene;
}

bool WriteSampleCutScene(const std::string& root, std::string& error) {
  return WriteCutSceneBinary(root + kCutSceneFile, FadeCutScene(), error);
}

// One enemy kind, one win rule and one camera shot: the least a battle reads.
bool WriteSampleBattleTexts(const std::string& root, std::string& error) {
  const std::string dir = root + kBattleFolder;
  const std::string enemyKind = std::to_string(kEnemyId);
  BattleScript script;
  script.items = {{0x10000, 0x10001, 0, 0}};
  script.expressions = {{1, 1, "0"}};
  qmz::CAMERACONTROLDESC shot{kBattleCameraShot,
                              60,
                              {{0, {-80, -120, 60}, {0, 0, 40}, 0},
                               {60, {80, -120, 60}, {0, 0, 40}, 0}}};
  return WriteAiTable(dir + "Ai.txt", {{kEnemyModel, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}},
                      error) &&
         WriteBattleScript(dir + "sbe.sc", script, error) &&
         WriteThrowData(dir + "scriptdata.txt", {{1, {{0, 0, 0}, {50, 0, 0}}}}, error) &&
         WriteInfoNames(dir + "Info.txt", {"None", "Attack", "Guard"}, error) &&
         WriteHitVertices(dir + "HitVertice.txt",
                          {{enemyKind, {0, 0, 20, 10, 0, 20, -10, 0, 20, 0, 0, 40}}}, error) &&
         WriteCameraControllers(dir + "camcon.cc", {shot}, error);
}

}  // namespace datagen
