#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Writers of the cut-scene scripts in "scripts": the binary ".spb" and the
// text ".sp" form of the same play. Each checks its records against what the
// game's reader accepts (names of at most 63 characters without blanks,
// dialogue ids of at most 15, lines of at most 255 characters, value words the
// text form can say) and fails with a message instead of writing a script the
// game would misread.
namespace datagen {

// A payload value: an integer, a real or a name.
struct CutValue {
  enum Kind { kInt, kFloat, kText };
  CutValue(int32_t v) : kind(kInt), i(v) {}
  CutValue(float v) : kind(kFloat), f(v) {}
  CutValue(std::string v) : kind(kText), text(std::move(v)) {}
  CutValue(const char* v) : kind(kText), text(v) {}

  Kind kind;
  int32_t i = 0;
  float f = 0;
  std::string text;
};

// One key: its key word ("SHOW", "TRANSLATE", ...), its frame and its payload
// values in the order of the binary form (a vector is three reals, a matrix
// twelve). Words stand for numbers in the text form (play types, styles,
// music and wave play modes, dialogue types, actor types); the text form of
// ADJUSTMCOLOR carries no Jump.
struct CutKeyData {
  std::string word;
  int32_t frame = 0;
  std::vector<CutValue> values;
};

// One player: an actor and its keys.
struct CutPlayerData {
  // "DIALOG", "CREATURE", "TCAMERA", "MUSIC", "VIEWPORT", "WAVE", "BOARD",
  // "FADE" or "SPRITE".
  std::string type;
  std::string name;
  std::string file;                     // DIALOG, CREATURE, WAVE, BOARD, SPRITE
  std::array<int32_t, 3> counts{};      // BOARD frames, width, height; SPRITE frames, columns, rows
  std::array<float, 4> rect{};          // VIEWPORT x, y, width, height as screen fractions
  int32_t viewportNumber = 0;           // VIEWPORT
  std::string camera;                   // VIEWPORT: the camera player's name
  std::array<float, 5> cameraValues{};  // TCAMERA: written, not used by the game
  std::vector<CutKeyData> keys;
};

// A player of that type and name over the file with those keys.
CutPlayerData CutPlayer(std::string type, std::string name, std::string file, std::vector<CutKeyData> keys);

struct CutSceneData {
  int32_t finalFrame = 0;
  std::vector<CutPlayerData> players;
};

bool BuildCutSceneBinary(const CutSceneData& scene, std::vector<uint8_t>& out, std::string& error);
bool BuildCutSceneText(const CutSceneData& scene, std::string& out, std::string& error);
// path is the whole file name, ".spb" or ".sp" included.
bool WriteCutSceneBinary(const std::string& path, const CutSceneData& scene, std::string& error);
bool WriteCutSceneText(const std::string& path, const CutSceneData& scene, std::string& error);

}  // namespace datagen
