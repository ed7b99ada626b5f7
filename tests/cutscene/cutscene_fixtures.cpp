#include "tests/cutscene/cutscene_fixtures.h"

#include <filesystem>
#include <fstream>

#include "cutscene/actor_type.h"
#include "platform/files.h"

namespace cstest {

CutPlayerData Player(const std::string& type, const std::string& name, const std::string& file,
                     std::vector<CutKeyData> keys) {
  return datagen::CutPlayer(type, name, file, std::move(keys));
}

std::vector<uint8_t> BinaryScript(const CutSceneData& scene) {
  std::vector<uint8_t> bytes;
  std::string error;
  EXPECT_TRUE(datagen::BuildCutSceneBinary(scene, bytes, error)) << error;
  return bytes;
}

std::string TextScript(const CutSceneData& scene) {
  std::string text;
  std::string error;
  EXPECT_TRUE(datagen::BuildCutSceneText(scene, text, error)) << error;
  return text;
}

void WriteScript(const std::string& name, const CutSceneData& scene, int binary) {
  std::string error;
  bool ok = binary ? datagen::WriteCutSceneBinary("scripts/" + name + ".spb", scene, error)
                   : datagen::WriteCutSceneText("scripts/" + name + ".sp", scene, error);
  ASSERT_TRUE(ok) << error;
}

// A plain write: the damaged-file tests write thousands of files.
void WriteRaw(const std::string& fileName, const std::vector<uint8_t>& bytes) {
  std::filesystem::create_directories("scripts");
  std::ofstream out("scripts/" + fileName, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good());
}

void WriteRaw(const std::string& fileName, const std::string& text) {
  WriteRaw(fileName, std::vector<uint8_t>(text.begin(), text.end()));
}

std::vector<CutKeyData> EveryKey(int frame) {
  auto floats = [](float first, int n) {
    std::vector<datagen::CutValue> v;
    for (int i = 0; i < n; ++i) v.push_back(first + 0.25f * static_cast<float>(i));
    return v;
  };
  auto withJump = [](int32_t jump, std::vector<datagen::CutValue> rest) {
    rest.insert(rest.begin(), jump);
    return rest;
  };
  return {
      {"SHOW", frame, {1}},
      {"PAUSE", frame, {1}},
      {"ONTERRAIN", frame, {1}},
      {"ROTATE", frame, withJump(1, floats(0.5f, 12))},
      {"SETPARENT", frame, {int32_t{ACTOR_CREATURE}, "hero", "hand_r"}},
      {"TRANSLATE", frame, {1, 1, 5, 10.5f, -20.25f, 3.0f}},
      {"CHANGEPOSE", frame, {1, 4, 0, 16, 2, 30, 7}},
      {"CROTATE", frame, withJump(1, floats(-1.5f, 12))},
      {"WAVE", frame, {0, 1}},
      {"MUSIC", frame, {3, 12, 1}},
      {"OPAQUE", frame, {1, 0.75f}},
      {"POSESPEED", frame, {-2}},
      {"TARGETOFFSET", frame, {1.5f, 2.5f, -3.5f, 1}},
      {"LOCKTARGET", frame, {"hero", int32_t{ACTOR_CREATURE}, 1}},
      {"FOV", frame, {45.5f, 1}},
      {"WAVEPLAY", frame, {int32_t{0x01000001}, 1}},
      {"DIALOG", frame, {"entry15chars_ok", 1, 30}},
      {"RO_SRC_BLEND", frame, {-1}},
      {"RO_DEST_BLEND", frame, {4}},
      {"RO_USE_RGB_AS_OPAQUE", frame, {1}},
      {"RGB", frame, {255, 128, 300}},
      {"SHADOW", frame, {1}},
      {"ADJUSTMCOLOR", frame, {0.1f, 0.2f, 0.3f, 0}},
      {"CHANGEPAGE", frame, {3}},
      {"SHOWBG", frame, {1}},
      {"POSITION2D", frame, {100, -40}},
      {"TEXTCOLOR", frame, {1, 2, 3}},
      {"TEXTBCOLOR", frame, {4, 5, 6}},
  };
}

CutSceneData EveryKindPlay() {
  CutSceneData scene;
  scene.finalFrame = 40;
  scene.players.push_back(Player("CREATURE", "hero", "hero.mcb", EveryKey(3)));
  CutPlayerData camera = Player("TCAMERA", "cam");
  camera.cameraValues = {1, 2, 3, 4, 5};
  camera.keys = {{"FOV", 0, {60.0f, 0}}, {"SHOW", 2, {1}}};
  scene.players.push_back(camera);
  CutPlayerData view = Player("VIEWPORT", "view");
  view.rect = {0.0f, 0.125f, 1.0f, 0.75f};
  view.viewportNumber = 2;
  view.camera = "cam";
  scene.players.push_back(view);
  scene.players.push_back(
      Player("DIALOG", "talk", "intro.dlg", {{"DIALOG", 5, {"hello", 0, -1}}, {"TEXTCOLOR", 5, {10, 20, 30}}}));
  scene.players.push_back(Player("MUSIC", "bgm", "", {{"MUSIC", 0, {0, 7, 1}}, {"MUSIC", 30, {1, 0, 0}}}));
  scene.players.push_back(Player("WAVE", "boom", "boom.wav", {{"WAVE", 4, {0, 0}}}));
  CutPlayerData board = Player("BOARD", "smoke", "smoke", {{"SHOW", 1, {1}}, {"RO_SRC_BLEND", 1, {5}}});
  board.counts = {8, 64, 32};
  scene.players.push_back(board);
  scene.players.push_back(Player("FADE", "black", "", {{"RGB", 0, {0, 0, 0}}, {"OPAQUE", 10, {0, 1.0f}}}));
  CutPlayerData sprite = Player("SPRITE", "logo", "logo", {{"SHOW", 6, {1}}, {"CHANGEPAGE", 8, {2}}});
  sprite.counts = {4, 2, 2};
  scene.players.push_back(sprite);
  scene.players.push_back(Player("CREATURE", "extra", "villager", {{"SHOW", 0, {0}}}));
  return scene;
}

std::vector<uint8_t> PayloadBytes(SKey& key) {
  plat::ByteWriter out;
  key.Save(out, 1);
  return out.Bytes();
}

std::string Describe(const CCutScene& play) {
  std::string text = "final " + std::to_string(play.FinalFrame()) + "\n";
  for (const auto& [type, actor] : play.Actors())
    text += std::string(ActorTypeName(type)) + " " + actor->GetName() + "\n";
  for (const auto& [type, set] : play.TrackSets()) {
    text += std::string("set ") + set->actor->GetName() + "\n";
    for (const auto& [code, track] : set->tracks) {
      text += " track " + std::to_string(code) + ":";
      for (const auto& [frame, key] : track->keys) {
        text += " @" + std::to_string(frame) + "[";
        for (uint8_t b : PayloadBytes(*key)) text += std::to_string(b) + ",";
        text += "]";
      }
      text += "\n";
    }
  }
  return text;
}

}  // namespace cstest
