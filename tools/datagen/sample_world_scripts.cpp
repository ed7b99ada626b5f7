// The sample world's cut-scene and the battle's text files.
#include "tools/datagen/battle_text_writer.h"
#include "tools/datagen/cutscene_writer.h"
#include "tools/datagen/sample_creatures.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_parts.h"

namespace datagen {

using namespace sample;

// Fades in from black, holds, and fades out again.
CutSceneData FadeCutScene() {
  CutPlayerData fade;
  fade.type = "FADE";
  fade.name = kFadeActor;
  fade.keys = {{"SHOW", 0, {1}},          {"RGB", 0, {0, 0, 0}},     {"OPAQUE", 0, {0, 1.0f}},
               {"OPAQUE", 20, {0, 0.0f}}, {"OPAQUE", 40, {0, 0.0f}}, {"OPAQUE", kCutSceneFrames, {0, 1.0f}}};
  CutSceneData scene;
  scene.finalFrame = kCutSceneFrames;
  scene.players = {fade};
  return scene;
}

// The creature code of the actor types.
constexpr int32_t kCreatureActor = 2;

CutSceneData OpeningCutScene() {
  CutSceneData scene = FadeCutScene();
  // Walks in once, turning toward the way over five frames, then stands.
  scene.players.push_back(CutPlayer("CREATURE", kOpeningHero, kHeroForm1Model,
                                    {{"SHOW", 0, {1}},
                                     {"CHANGEPOSE", 0, {0, 1, 0, 16, -1, -1, kHeroStandPose}},
                                     {"TRANSLATE", 0, {0, 1, 5, 0.0f, 0.0f, 0.0f}},
                                     {"TRANSLATE", 30, {0, 0, 0, 40.0f, 30.0f, 0.0f}}}));
  // Stands back and turns onto the hero over ten frames, widening the view.
  scene.players.push_back(CutPlayer("TCAMERA", kOpeningCamera, "",
                                    {{"TRANSLATE", 0, {1, 0, 0, 0.0f, -160.0f, 80.0f}},
                                     {"TARGETOFFSET", 0, {0.0f, 0.0f, 20.0f, 1}},
                                     {"LOCKTARGET", 10, {kOpeningHero, kCreatureActor, 0}},
                                     {"FOV", 0, {45.0f, 1}},
                                     {"FOV", 20, {60.0f, 0}}}));
  CutPlayerData view = CutPlayer("VIEWPORT", "view", "", {});
  view.rect = {0.0f, 0.0f, 1.0f, 1.0f};
  view.camera = kOpeningCamera;
  scene.players.push_back(view);
  const std::string dialogueFile = std::string(kDialogueFile).substr(std::string("resource/").size());
  scene.players.push_back(CutPlayer("DIALOG", kOpeningDialog, dialogueFile,
                                    {{"DIALOG", kOpeningAskFrame, {kAskEntry, 1, kOpeningStopCount}}}));
  const std::string beep = std::string(kBeepFile).substr(std::string("waves/").size());
  scene.players.push_back(CutPlayer("WAVE", "beep", beep, {{"WAVE", 5, {0, 0}}}));
  scene.players.push_back(
      CutPlayer("MUSIC", "bgm", "", {{"MUSIC", 0, {0, kOpeningMusicTrack, 1}}, {"MUSIC", 58, {1, 0, 0}}}));
  CutPlayerData sign = CutPlayer("BOARD", "sign", kGrassTexture,
                                 {{"SHOW", 0, {1}},
                                  {"TRANSLATE", 0, {1, 0, 0, -30.0f, 40.0f, 20.0f}},
                                  {"ADJUSTMCOLOR", 10, {1.0f, 0.5f, 0.5f, 0}}});
  sign.counts = {0, 40, 40};  // the texture itself, no numbered frames
  scene.players.push_back(sign);
  const std::string title = std::string(kGameOverImageFile).substr(std::string("image/").size());
  CutPlayerData picture = CutPlayer("SPRITE", "title", title, {{"SHOW", 50, {1}}});
  picture.counts = {1, 1, 1};
  scene.players.push_back(picture);
  return scene;
}

bool WriteSampleCutScene(const std::string& root, std::string& error) {
  return WriteCutSceneBinary(root + kCutSceneFile, OpeningCutScene(), error);
}

// One enemy kind, the win and lose rules and one camera shot: the least a battle reads.
bool WriteSampleBattleTexts(const std::string& root, std::string& error) {
  const std::string dir = root + kBattleFolder;
  // Item 0: every enemy of the wave down or paralysed; item 1: the hero's HP
  // at or below 0. Random battles (id 0) and the boss's story battle are won
  // by the first and lost by the second.
  BattleScript script;
  script.items = {{0xffff, 0x40001, 0, 0}, {0x10000, 0x10001, 0x10002, 0}};
  for (int battle : {0, kBossId}) {
    script.expressions.push_back({battle, 1, "0"});
    script.expressions.push_back({battle, 2, "1"});
  }
  qmz::CAMERACONTROLDESC shot{
      kBattleCameraShot, 60, {{0, {-80, -120, 60}, {0, 0, 40}, 0}, {60, {80, -120, 60}, {0, 0, 40}, 0}}};
  return WriteAiTable(dir + "Ai.txt", SampleAiRows(), error) && WriteBattleScript(dir + "sbe.sc", script, error) &&
         WriteThrowData(dir + "scriptdata.txt", {{1, {{0, 0, 0}, {50, 0, 0}}}}, error) &&
         WriteInfoNames(dir + "Info.txt", SampleInfoNames(), error) &&
         WriteCameraControllers(dir + "camcon.cc", {shot}, error);
}

}  // namespace datagen
