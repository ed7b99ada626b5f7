// The two script forms: the same play from both, the load results, and
// corrupt scripts refused without harm.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "cutscene/keys.h"
#include "tests/cutscene/cutscene_fixtures.h"

namespace cstest {
namespace {

using CutSceneFiles = CutSceneTest;

int LoadResult(const std::string& name, int binary) {
  CCutScene play(640, 480, nullptr);
  return play.Load(name, "scripts", binary);
}

void PatchInt(std::vector<uint8_t>& bytes, size_t offset, int32_t value) {
  std::memcpy(bytes.data() + offset, &value, 4);
}

TEST_F(CutSceneFiles, BothFormsLoadTheSamePlay) {
  CutSceneData scene = EveryKindPlay();
  WriteScript("every", scene, 1);
  WriteScript("every", scene, 0);
  CCutScene binary(640, 480, nullptr), text(640, 480, nullptr);
  Log().Clear();
  ASSERT_EQ(binary.Load("every", "scripts", 1), 0);
  std::vector<std::string> binaryMade = Log().With("make:");
  Log().Clear();
  ASSERT_EQ(text.Load("every", "scripts", 0), 0);
  EXPECT_EQ(Log().With("make:"), binaryMade);
  EXPECT_EQ(Describe(binary), Describe(text));

  EXPECT_EQ(binary.FinalFrame(), 40);
  EXPECT_EQ(binary.CurrentFrame(), -1);
  EXPECT_EQ(binary.Actors().size(), 10u);
  EXPECT_EQ(binary.Viewports().size(), 1u);
  EXPECT_EQ(binaryMade.size(), 10u);
  EXPECT_EQ(Log().Count(":SetCamera(cam)"), 1);  // bound before the name is given
  const SActorTrackSet* hero = binary.TrackSets().find(ACTOR_CREATURE)->second.get();
  EXPECT_STREQ(hero->actor->GetName(), "hero");
  EXPECT_EQ(hero->tracks.size(), 28u);  // one track for every key type
}

TEST_F(CutSceneFiles, LoadResults) {
  CutSceneData good;
  good.finalFrame = 9;
  good.players.push_back(Player("MUSIC", "bgm", "", {{"MUSIC", 0, {0, 2, 1}}}));
  std::vector<uint8_t> goodBinary = BinaryScript(good);
  const size_t firstKeyCode = 156 + 4 + 64 + 4;

  struct Row {
    const char* what;
    std::vector<uint8_t> bytes;  // empty: no file
    int binary;
    int result;
  };
  auto bytesOf = [](const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); };
  auto patched = [&](size_t offset, int32_t value) {
    std::vector<uint8_t> b = goodBinary;
    PatchInt(b, offset, value);
    return b;
  };
  std::vector<uint8_t> header(156, 0);
  PatchInt(header, 148, 77);
  std::vector<uint8_t> negativeCount = header;
  PatchInt(negativeCount, 152, -5);
  CutSceneData twoViewports;
  for (const char* name : {"v1", "v2"}) {
    CutPlayerData v = Player("VIEWPORT", name);
    v.viewportNumber = 1;
    twoViewports.players.push_back(v);
  }
  std::string text = TextScript(good);

  std::vector<Row> rows = {
      {"good binary", goodBinary, 1, 0},
      {"good text", bytesOf(text), 0, 0},
      {"no file", {}, 1, -2},
      {"short header", std::vector<uint8_t>(155, 0), 1, -1},
      {"header only, no players", header, 1, 0},
      {"negative player count", negativeCount, 1, 0},
      {"unknown key code", patched(firstKeyCode, 36), 1, -1},
      // Frames a play never reaches, near the ends of the int range.
      {"key frame 2147483647", patched(firstKeyCode + 4, INT_MAX), 1, -1},
      {"key frame -1000001", patched(firstKeyCode + 4, -1000001), 1, -1},
      {"key frame 1000000", patched(firstKeyCode + 4, 1000000), 1, 0},
      {"text key frame -2147483648", bytesOf("#PLAYER_START\nFADE f\n-\nK SHOW -2147483648\nV 1\n#PLAYER_END\n"), 0,
       -1},
      {"CAMERA player", patched(156, 3), 1, -1},
      {"SEFFECT player", patched(156, 7), 1, -1},
      {"WAVESYSTEM player", patched(156, 8), 1, -1},
      {"unknown player type", patched(156, 99), 1, -1},
      {"player count beyond the file", patched(152, 2), 1, -1},
      {"huge player count", patched(152, 0x7FFFFFFF), 1, -1},
      {"key count beyond the file", patched(156 + 4 + 64, 1000000), 1, -1},
      {"duplicate viewport number", BinaryScript(twoViewports), 1, -1},
      {"duplicate viewport number, text", bytesOf(TextScript(twoViewports)), 0, -1},
      {"MUSIC without its parameter line", bytesOf("#FINALFRAME\n9\n#PLAYER_START\nMUSIC bgm\n"), 0, -1},
      {"MUSIC with an empty parameter line", bytesOf("#FINALFRAME\n9\n#PLAYER_START\nMUSIC bgm\n\n#PLAYER_END\n"), 0,
       0},
      {"unknown type word", bytesOf("#PLAYER_START\nMusic bgm\n-\n#PLAYER_END\n"), 0, -1},
      {"CAMERA type word", bytesOf("#PLAYER_START\nCAMERA c\n-\n#PLAYER_END\n"), 0, -1},
      {"unknown key word", bytesOf("#PLAYER_START\nFADE f\n-\nK FADEOUT 3\nV 1\n#PLAYER_END\n"), 0, -1},
      {"key line without a frame", bytesOf("#PLAYER_START\nFADE f\n-\nK SHOW\nV 1\n#PLAYER_END\n"), 0, -1},
      {"player without its end", bytesOf("#PLAYER_START\nFADE f\n-\nK SHOW 1\nV 1\n"), 0, -1},
      {"key without its value line", bytesOf("#PLAYER_START\nFADE f\n-\nK SHOW 1\n"), 0, -1},
      {"line of 256 characters", bytesOf("#VERSION\n" + std::string(256, 'x') + "\n"), 0, -1},
      {"line of 255 characters", bytesOf("#VERSION\n" + std::string(255, 'x') + "\n"), 0, 0},
      {"player name of 64 characters", bytesOf("#PLAYER_START\nFADE " + std::string(64, 'n') + "\n-\n#PLAYER_END\n"), 0,
       -1},
      {"file name of 64 characters", bytesOf("#PLAYER_START\nWAVE w\n" + std::string(64, 'f') + "\n#PLAYER_END\n"), 0,
       -1},
      {"camera name of 64 characters",
       bytesOf("#PLAYER_START\nVIEWPORT v\n0 0 1 1 1 " + std::string(64, 'c') + "\n#PLAYER_END\n"), 0, -1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    plat::RemoveFile("scripts/case.spb");
    plat::RemoveFile("scripts/case.sp");
    if (!row.bytes.empty()) WriteRaw(row.binary ? "case.spb" : "case.sp", row.bytes);
    EXPECT_EQ(LoadResult("case", row.binary), row.result);
  }
}

TEST_F(CutSceneFiles, AHeaderWithoutPlayersIsAnEmptyPlayWithItsFinalFrame) {
  std::vector<uint8_t> header(156, 0xEE);  // the reserved bytes are not read
  PatchInt(header, 148, 77);
  PatchInt(header, 152, 0);
  WriteRaw("empty.spb", header);
  CCutScene play(640, 480, nullptr);
  play.CreateBoard("left over", 1, 1, 1, 0);
  ASSERT_EQ(play.Load("empty", "scripts", 1), 0);
  EXPECT_EQ(play.FinalFrame(), 77);
  EXPECT_TRUE(play.Actors().empty());
  EXPECT_EQ(play.CurrentFrame(), -1);
}

TEST_F(CutSceneFiles, AFailedLoadKeepsWhatWasBuilt) {
  CutSceneData scene;
  scene.players.push_back(Player("FADE", "kept"));
  scene.players.push_back(Player("WAVE", "dropped", "w.wav"));
  std::vector<uint8_t> bytes = BinaryScript(scene);
  bytes.resize(bytes.size() - 10);
  WriteRaw("partial.spb", bytes);
  CCutScene play(640, 480, nullptr);
  testsupport::DebugTraceCapture trace;
  EXPECT_EQ(play.Load("partial", "scripts", 1), -1);
  EXPECT_NE(play.FindActor(ACTOR_FADE, "kept"), nullptr);
  EXPECT_TRUE(trace.Contains("scripts\\partial.spb"));
}

TEST_F(CutSceneFiles, TruncatedOrDamagedScriptsAreRefusedWithoutHarm) {
  std::vector<uint8_t> binary = BinaryScript(EveryKindPlay());
  std::string text = TextScript(EveryKindPlay());
  // Every shorter binary file is refused.
  for (size_t size = 0; size < binary.size(); size += (size < 240 ? 1 : 17)) {
    WriteRaw("cut.spb", std::vector<uint8_t>(binary.begin(), binary.begin() + static_cast<long>(size)));
    ASSERT_EQ(LoadResult("cut", 1), -1) << size;
  }
  // Shorter text files load what they hold or are refused.
  for (size_t size = 0; size < text.size(); size += 13) {
    WriteRaw("cut.sp", text.substr(0, size));
    int result = LoadResult("cut", 0);
    ASSERT_TRUE(result == 0 || result == -1) << size;
  }
  // Bytes overwritten one at a time: any answer but a crash.
  for (size_t at = 148; at < binary.size(); at += 9) {
    std::vector<uint8_t> damaged = binary;
    damaged[at] = 0xFF;
    if (at + 1 < damaged.size()) damaged[at + 1] = 0x7F;
    WriteRaw("bad.spb", damaged);
    int result = LoadResult("bad", 1);
    ASSERT_TRUE(result == 0 || result == -1) << at;
  }
}

TEST_F(CutSceneFiles, BinaryNamesWithoutATerminatorEndInTheirField) {
  CutSceneData scene;
  scene.players.push_back(Player("CREATURE", "x", "y"));
  std::vector<uint8_t> bytes = BinaryScript(scene);
  std::memset(bytes.data() + 160, 'N', 64);       // player name
  std::memset(bytes.data() + 160 + 64, 'F', 64);  // model file name
  WriteRaw("unended.spb", bytes);
  CCutScene play(640, 480, nullptr);
  ASSERT_EQ(play.Load("unended", "scripts", 1), 0);
  EXPECT_NE(play.FindActor(ACTOR_CREATURE, std::string(63, 'N')), nullptr);
  EXPECT_EQ(Log().Count("make:Creature(" + std::string(63, 'F') + ",1,)"), 1);
}

TEST_F(CutSceneFiles, TextFormDetails) {
  // The first word of a key line is not read; #VERSION skips the next line
  // whatever it holds; other lines outside players are ignored.
  WriteRaw("details.sp", std::string("#VERSION\n#PLAYER_START\nnotes here\r\n#FINALFRAME\n12\n"
                                     "#PLAYER_START\nFADE f\n-\n") +
                             "ONE SHOW 2\n\t\t\t\tValue\t1\nTWO SHOW 4\nValue 0\n#PLAYER_END\n");
  CCutScene play(640, 480, nullptr);
  ASSERT_EQ(play.Load("details", "scripts", 0), 0);
  EXPECT_EQ(play.FinalFrame(), 12);
  ASSERT_EQ(play.Actors().size(), 1u);
  const auto& track = play.TrackSets().begin()->second->tracks.at(KEY_SHOW);
  ASSERT_EQ(track->keys.size(), 2u);
  EXPECT_EQ(static_cast<SKeyShow&>(*track->keys.at(2)).value, 1);
  EXPECT_EQ(static_cast<SKeyShow&>(*track->keys.at(4)).value, 0);

  // A camera's five values do not matter.
  CutSceneData a, b;
  a.players.push_back(Player("TCAMERA", "cam"));
  b.players.push_back(Player("TCAMERA", "cam"));
  b.players[0].cameraValues = {9, 8, 7, 6, 5};
  WriteScript("camA", a, 1);
  WriteScript("camB", b, 0);
  CCutScene playA(640, 480, nullptr), playB(640, 480, nullptr);
  ASSERT_EQ(playA.Load("camA", "scripts", 1), 0);
  ASSERT_EQ(playB.Load("camB", "scripts", 0), 0);
  EXPECT_EQ(Describe(playA), Describe(playB));
}

TEST(CutSceneWriter, RefusesWhatTheReaderCannotTake) {
  struct Row {
    const char* what;
    CutSceneData scene;
  };
  auto one = [](CutPlayerData p) {
    CutSceneData s;
    s.players.push_back(std::move(p));
    return s;
  };
  CutPlayerData longCamera = Player("VIEWPORT", "v");
  longCamera.camera = std::string(64, 'c');
  const Row rows[] = {
      {"player name of 64", one(Player("FADE", std::string(64, 'n')))},
      {"file name with a blank", one(Player("WAVE", "w", "a b.wav"))},
      {"camera name of 64", one(longCamera)},
      {"CAMERA player", one(Player("CAMERA", "c"))},
      {"unknown player type", one(Player("LIGHT", "l"))},
      {"unknown key", one(Player("FADE", "f", "", {{"FADEOUT", 0, {1}}}))},
      {"too few values", one(Player("FADE", "f", "", {{"RGB", 0, {1, 2}}}))},
      {"wrong value kind", one(Player("FADE", "f", "", {{"OPAQUE", 0, {0, 1}}}))},
      {"dialogue id of 16", one(Player("DIALOG", "d", "x", {{"DIALOG", 0, {"0123456789abcdef", 0, 0}}}))},
      {"play type without a word", one(Player("CREATURE", "c", "m", {{"CHANGEPOSE", 0, {0, 0, 5, 0, 0, 0, 0}}}))},
      {"style without a word", one(Player("CREATURE", "c", "m", {{"CHANGEPOSE", 0, {0, 0, 0, 8, 0, 0, 0}}}))},
      {"actor type without a word", one(Player("FADE", "f", "", {{"SETPARENT", 0, {40, "a", "b"}}}))},
  };
  for (const Row& row : rows) {
    std::vector<uint8_t> bytes;
    std::string text, error;
    bool binaryOk = datagen::BuildCutSceneBinary(row.scene, bytes, error);
    bool textOk = datagen::BuildCutSceneText(row.scene, text, error);
    EXPECT_FALSE(binaryOk && textOk) << row.what;
    EXPECT_FALSE(error.empty()) << row.what;
  }
  // A value only the text form cannot say still goes into the binary form.
  CutSceneData pose = one(Player("CREATURE", "c", "m", {{"CHANGEPOSE", 0, {0, 0, 5, 0, 0, 0, 0}}}));
  std::vector<uint8_t> bytes;
  std::string error;
  EXPECT_TRUE(datagen::BuildCutSceneBinary(pose, bytes, error)) << error;
}

}  // namespace
}  // namespace cstest
