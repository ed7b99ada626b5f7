// Keys: the factories, the payload of every key type in both script forms,
// the value words of the text form and the refusal of bad names.
#include "cutscene/keys.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "cutscene/key_factory.h"
#include "cutscene/script_stream.h"
#include "tests/cutscene/cutscene_fixtures.h"

namespace cstest {
namespace {

struct KeyKindRow {
  const char* word;
  int code;
  size_t payloadSize;
};

const KeyKindRow kKeyKinds[] = {
    {"SHOW", 0, 4},
    {"PAUSE", 10, 4},
    {"ONTERRAIN", 20, 4},
    {"ROTATE", 30, 52},
    {"SETPARENT", 35, 132},
    {"TRANSLATE", 40, 24},
    {"CHANGEPOSE", 50, 28},
    {"CROTATE", 60, 52},
    {"WAVE", 70, 8},
    {"MUSIC", 80, 12},
    {"OPAQUE", 90, 8},
    {"POSESPEED", 100, 4},
    {"TARGETOFFSET", 110, 16},
    {"LOCKTARGET", 120, 264},
    {"FOV", 130, 8},
    {"WAVEPLAY", 140, 8},
    {"DIALOG", 150, 24},
    {"RO_SRC_BLEND", 160, 4},
    {"RO_DEST_BLEND", 170, 4},
    {"RO_USE_RGB_AS_OPAQUE", 180, 4},
    {"RGB", 190, 12},
    {"SHADOW", 200, 4},
    {"ADJUSTMCOLOR", 210, 16},
    {"CHANGEPAGE", 220, 4},
    {"SHOWBG", 230, 4},
    {"POSITION2D", 240, 8},
    {"TEXTCOLOR", 250, 12},
    {"TEXTBCOLOR", 260, 12},
};

TEST(CutSceneKeys, FactoriesMakeEveryTypeWithAZeroedPayloadOfItsSize) {
  for (const KeyKindRow& row : kKeyKinds) {
    SCOPED_TRACE(row.word);
    std::unique_ptr<SKey> byName = CreateKeyByName(row.word, 5);
    std::unique_ptr<SKey> byCode = CreateKeyByCode(row.code, -3);
    ASSERT_TRUE(byName && byCode);
    EXPECT_EQ(byName->Code(), row.code);
    EXPECT_EQ(byName->frame, 5);
    EXPECT_EQ(byCode->Code(), row.code);
    EXPECT_EQ(byCode->frame, -3);
    std::vector<uint8_t> payload = PayloadBytes(*byName);
    EXPECT_EQ(payload.size(), row.payloadSize);
    EXPECT_EQ(payload, std::vector<uint8_t>(row.payloadSize, 0));
  }
}

TEST(CutSceneKeys, FactoriesRefuseOtherWordsAndCodes) {
  for (const char* word : {"show", "SHOW ", " SHOW", "", "SHOWBGX", "ROTAT", "NULL"})
    EXPECT_EQ(CreateKeyByName(word, 5), nullptr) << word;
  for (int code : {36, -1, 1, 5, 255, 270, 1000}) EXPECT_EQ(CreateKeyByCode(code, 0), nullptr) << code;
  std::unique_ptr<SKey> parent = CreateKeyByCode(35, 0);
  ASSERT_NE(parent, nullptr);
  EXPECT_NE(dynamic_cast<SKeySetParent*>(parent.get()), nullptr);
}

// A FADE player with one key, written by the datagen writer in both forms;
// the key's payload is read straight from each file.
std::unique_ptr<SKey> ReadSingleKey(const CutKeyData& data, int binary) {
  CutSceneData scene;
  scene.players.push_back(Player("FADE", "f", "", {data}));
  std::unique_ptr<SKey> key = CreateKeyByName(data.word, data.frame);
  if (binary) {
    SScriptStream in(BinaryScript(scene));
    in.Binary().Seek(156 + 4 + 64 + 4);
    EXPECT_EQ(in.Binary().I32(), key->Code());
    EXPECT_EQ(in.Binary().I32(), data.frame);
    EXPECT_EQ(key->Load(in, 1), 0);
    EXPECT_EQ(in.Binary().Remaining(), 0u);
  } else {
    std::string text = TextScript(scene);
    SScriptStream in(std::vector<uint8_t>(text.begin(), text.end()));
    std::string line;
    for (int i = 0; i < 8; ++i) in.ReadLine(line);  // header, player lines, key line
    EXPECT_EQ(key->Load(in, 0), 0);
    EXPECT_TRUE(in.ReadLine(line));
    EXPECT_EQ(line, "#PLAYER_END");
  }
  return key;
}

TEST(CutSceneKeys, BothFormsOfEveryKeyCarryTheSamePayload) {
  for (const CutKeyData& data : EveryKey(9)) {
    SCOPED_TRACE(data.word);
    std::unique_ptr<SKey> binary = ReadSingleKey(data, 1);
    std::unique_ptr<SKey> text = ReadSingleKey(data, 0);
    std::vector<uint8_t> fresh = PayloadBytes(*CreateKeyByName(data.word, 0));
    EXPECT_NE(PayloadBytes(*binary), fresh);
    EXPECT_EQ(PayloadBytes(*binary), PayloadBytes(*text));
  }
}

TEST(CutSceneKeys, SavedTextReadsBackToTheSamePayload) {
  for (const CutKeyData& data : EveryKey(0)) {
    SCOPED_TRACE(data.word);
    std::unique_ptr<SKey> original = ReadSingleKey(data, 1);
    plat::ByteWriter text;
    original->Save(text, 0);
    SScriptStream in(text.Bytes());
    std::unique_ptr<SKey> copy = CreateKeyByName(data.word, 0);
    ASSERT_EQ(copy->Load(in, 0), 0);
    EXPECT_EQ(PayloadBytes(*copy), PayloadBytes(*original));
  }
}

TEST(CutSceneKeys, SavedTextLinesAreTabbedAndLabelled) {
  std::unique_ptr<SKey> key =
      ReadSingleKey({"CROTATE", 0, {1, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 5.0f, 6.0f, 7.5f}}, 1);
  plat::ByteWriter out;
  key->Save(out, 0);
  std::string text(out.Bytes().begin(), out.Bytes().end());
  EXPECT_EQ(text,
            "\t\t\t\tJump\t1\n\t\t\t\tCRotate\t1\t0\t0\n\t\t\t\t\t0\t1\t0\n"
            "\t\t\t\t\t0\t0\t1\n\t\t\t\t\t5\t6\t7.5\n");
}

std::unique_ptr<SKey> LoadText(const char* word, const std::string& lines, int* result = nullptr) {
  std::unique_ptr<SKey> key = CreateKeyByName(word, 0);
  SScriptStream in(std::vector<uint8_t>(lines.begin(), lines.end()));
  int r = key->Load(in, 0);
  if (result) *result = r;
  return key;
}

TEST(CutSceneKeys, TextValueWordsAndUnparsedNumbers) {
  struct Row {
    const char* word;
    std::string lines;
    std::function<bool(SKey&)> holds;
  };
  auto music = [](SKey& k) { return static_cast<SKeyMusic&>(k).playMode; };
  auto dialogType = [](SKey& k) { return static_cast<SKeyDialog&>(k).type; };
  auto wavePlay = [](SKey& k) { return static_cast<SKeyWavePlay&>(k).playMode; };
  const Row rows[] = {
      {"MUSIC", "M PLAY\nT 7\nL 1\n", [&](SKey& k) { return music(k) == 0; }},
      {"MUSIC", "M STOP\nT 7\nL 1\n", [&](SKey& k) { return music(k) == 1; }},
      {"MUSIC", "M PAUSE\nT 7\nL 1\n", [&](SKey& k) { return music(k) == 2; }},
      {"MUSIC", "M XYZ\nT 7\nL 1\n", [&](SKey& k) { return music(k) == 3; }},
      {"MUSIC", "M play\nT 7\nL 1\n", [&](SKey& k) { return music(k) == 3; }},
      {"DIALOG", "Id a\nType ASK\nS 0\n", [&](SKey& k) { return dialogType(k) == 1; }},
      {"DIALOG", "Id a\nType WHATEVER\nS 0\n", [&](SKey& k) { return dialogType(k) == 1; }},
      {"DIALOG", "Id a\nType TALK\nS 0\n", [&](SKey& k) { return dialogType(k) == 0; }},
      {"WAVEPLAY", "M PAUSE\nF 1\n", [&](SKey& k) { return wavePlay(k) == 1; }},
      {"WAVEPLAY", "M BOGUS\nF 1\n", [&](SKey& k) { return wavePlay(k) == 2; }},
      {"CHANGEPOSE", "W 0\nP 2\nT SLOOP\nS FORCECHANGE\nF 0\nT 0\nC 0\n",
       [](SKey& k) {
         auto& c = static_cast<SKeyChangePose&>(k);
         return c.playType == 2 && c.style == 16;
       }},
      {"CHANGEPOSE", "W 0\nP 2\nT BAD\nS ODD\nF 0\nT 0\nC 0\n",
       [](SKey& k) {
         auto& c = static_cast<SKeyChangePose&>(k);
         return c.playType == 0 && c.style == 0;
       }},
      {"SETPARENT", "T BOARD\nN x\nP y\n", [](SKey& k) { return static_cast<SKeySetParent&>(k).parentType == 10; }},
      {"SETPARENT", "T board\nN x\nP\n",
       [](SKey& k) {
         auto& s = static_cast<SKeySetParent&>(k);
         return s.parentType == -1 && s.parentName == "x" && s.part.empty();
       }},
      {"SHOW", "Value abc\n", [](SKey& k) { return static_cast<SKeyShow&>(k).value == 0; }},
      {"RGB", "RGB 1 x 3\n",
       [](SKey& k) {
         auto& c = static_cast<SKeyRGB&>(k);
         return c.r == 1 && c.g == 0 && c.b == 0;
       }},
      {"RO_SRC_BLEND", "Value 4294967295\n", [](SKey& k) { return static_cast<SKeyROSrcBlend&>(k).value == -1; }},
      {"ADJUSTMCOLOR", "C 0.5 0.25 1\n",
       [](SKey& k) {
         auto& c = static_cast<SKeyAdjustMaterialColor&>(k);
         return c.r == 0.5f && c.g == 0.25f && c.b == 1.0f && c.jump == 0;
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.word) + ": " + row.lines);
    int result = -5;
    std::unique_ptr<SKey> key = LoadText(row.word, row.lines, &result);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(row.holds(*key));
  }
}

TEST(CutSceneKeys, BinaryAdjustColourKeepsItsJump) {
  std::unique_ptr<SKey> key = ReadSingleKey({"ADJUSTMCOLOR", 0, {0.5f, 0.5f, 0.5f, 1}}, 1);
  EXPECT_EQ(static_cast<SKeyAdjustMaterialColor&>(*key).jump, 1);
}

TEST(CutSceneKeys, NamesAreBoundedInBothForms) {
  // Text: a name longer than its field is refused, one that fits is taken.
  int result = 0;
  LoadText("DIALOG", "Id " + std::string(16, 'd') + "\nT TALK\nS 0\n", &result);
  EXPECT_EQ(result, -1);
  auto dialog = LoadText("DIALOG", "Id " + std::string(15, 'd') + "\nT TALK\nS 0\n", &result);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(static_cast<SKeyDialog&>(*dialog).id, std::string(15, 'd'));
  LoadText("SETPARENT", "T CREATURE\nN " + std::string(64, 'n') + "\nP x\n", &result);
  EXPECT_EQ(result, -1);
  LoadText("SETPARENT", "T CREATURE\nN x\nP " + std::string(63, 'p') + "\n", &result);
  EXPECT_EQ(result, 0);

  // Binary: a field without a terminator still ends inside the field.
  plat::ByteWriter payload;
  payload.I32(ACTOR_CREATURE);
  payload.Bytes(std::string(64, 'A').data(), 64);
  payload.Bytes(std::string(64, 'B').data(), 64);
  SScriptStream in(payload.Bytes());
  std::unique_ptr<SKey> key = CreateKeyByCode(KEY_SETPARENT, 0);
  ASSERT_EQ(key->Load(in, 1), 0);
  EXPECT_EQ(static_cast<SKeySetParent&>(*key).parentName, std::string(63, 'A'));
  EXPECT_EQ(static_cast<SKeySetParent&>(*key).part, std::string(63, 'B'));

  plat::ByteWriter id;
  id.Bytes(std::string(16, 'I').data(), 16);
  id.I32(0);
  id.I32(0);
  SScriptStream idIn(id.Bytes());
  std::unique_ptr<SKey> dialogKey = CreateKeyByCode(KEY_DIALOG, 0);
  ASSERT_EQ(dialogKey->Load(idIn, 1), 0);
  EXPECT_EQ(static_cast<SKeyDialog&>(*dialogKey).id, std::string(15, 'I'));
}

TEST(CutSceneKeys, AShortPayloadFailsInBothForms) {
  int result = 0;
  LoadText("ROTATE", "Jump 1\nFDir 1 0 0\n", &result);
  EXPECT_EQ(result, -1);
  plat::ByteWriter shortPayload;
  shortPayload.I32(1);
  shortPayload.F32(1);
  SScriptStream in(shortPayload.Bytes());
  EXPECT_EQ(CreateKeyByCode(KEY_ROTATE, 0)->Load(in, 1), -1);
}

}  // namespace
}  // namespace cstest
