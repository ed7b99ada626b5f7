#pragma once
#include <array>
#include <string>
#include <vector>

#include "platform/qel/camera_controller.h"

// Writers of the battle's text files in ".\creature\battle\". Numbers are
// written in plain decimal (floats in the shortest form that reads back
// exactly). Lines stay below 1024 bytes and words below 128, the sizes the
// battle's block loaders are made with. Each writer checks its records
// against what the reader accepts and fails with a message instead of writing
// a file the game would misread.
namespace datagen {

// "Ai.txt": one row per enemy model, its behaviour switches 1 to 13 (1 on).
struct AiRow {
  std::string name;
  std::array<int, 13> switches{};
};
bool WriteAiTable(const std::string& path, const std::vector<AiRow>& rows, std::string& error);

// "sbe.sc": condition items, per-battle limits and win/lose expressions.
struct ScriptItemRow {
  int subject, test, comparison, value;
};
struct ScriptLimitRow {
  int battleId, subject, code, value;
};
struct ScriptExpRow {
  int battleId;
  int kind;          // 1 win, other lose
  std::string text;  // one word: item numbers, ( ) ! - + & | && ||
};
struct BattleScript {
  std::vector<ScriptItemRow> items;
  std::vector<ScriptLimitRow> limits;
  std::vector<ScriptExpRow> expressions;
};
bool WriteBattleScript(const std::string& path, const BattleScript& script, std::string& error);

// "scriptdata.txt": trap throws, each a level and its positions.
struct ThrowRecord {
  int level;
  std::vector<std::array<float, 3>> positions;
};
bool WriteThrowData(const std::string& path, const std::vector<ThrowRecord>& records, std::string& error);

// "Info.txt": the display names of numbers 0, 1, 2, ... one word each.
bool WriteInfoNames(const std::string& path, const std::vector<std::string>& names, std::string& error);

// "HitVertice.txt": per enemy kind (a decimal id), four hit points of three coordinates.
struct HitVertexRow {
  std::string id;
  std::array<float, 12> values{};
};
bool WriteHitVertices(const std::string& path, const std::vector<HitVertexRow>& rows, std::string& error);

// "camcon.cc": the scripted camera shots of the battle camera.
bool WriteCameraControllers(const std::string& path, const std::vector<qmz::CAMERACONTROLDESC>& shots,
                            std::string& error);

}  // namespace datagen
