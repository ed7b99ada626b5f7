#pragma once
// Writer of the game resource file "Zudur.res": a 48-byte head (zeros, the
// section count at 46), 12-byte section entries from 48 and the sections.
//
// Readings the game's reader and this writer share:
// - `MAPDESC` byte 24 holds the day phase 0-2 plus bit 0x20, the light flag;
//   bytes 25-27 are 0.
// - The NPC row's model name (byte 12) shares its field with the int16 table
//   index at byte 18, so a model name keeps at most 5 characters.
// - Kind 33 holds one int16 per message: entry k is the offset of message
//   k + 1 in kind 34's NUL-ended texts (entry 0 = 0); kind 34 stays below
//   32768 bytes.
// - The number blocks of kinds 28 and 29 are 4 bytes; their int16 at +2 is a
//   base.
// - Kinds holding other tables (events, actions, talk groups, notes, recipes)
//   are written as raw blocks their owners supply.
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace datagen {

// One section as it lies in the file. An indexed section (items not empty)
// gets count = items.size() index records in front of the concatenated items.
struct ResourceSectionData {
  uint16_t kind = 0;  // 1..37; values above are written as they stand
  int16_t count = 0;  // ignored for indexed sections
  std::vector<uint8_t> data;
  std::vector<std::pair<int16_t, std::vector<uint8_t>>> items;  // value, bytes
};

struct NpcData {
  char kind = 'k';
  std::string model;  // at most 5 characters
  int16_t tableIndex = 0;
  std::string name;  // at most 7 characters
  int16_t role = 0;
};

struct MapData {
  std::string caption;   // at most 11 bytes
  std::string scene;     // at most 11 characters, e.g. "a004" (the game adds ".SB")
  uint8_t dayPhase = 0;  // 0 none, 1 day, 2 night
  bool lightFlag = false;
  std::array<int16_t, 2> battleScenes{};  // 1-based map rows; 0 ends the list
  int16_t bossScene = 0;
  uint8_t stepThreshold = 0;
  uint8_t encounterRate = 0;  // percent
  int8_t groupSizeFactor = 0;
  std::vector<int16_t> enemies;  // at most 9
  uint8_t cdTrack = 0;
  uint8_t battleCdTrack = 0;
};

// An event (18-byte row): its conditions come first in the action table,
// then its actions, from firstAction on.
struct EventData {
  std::string name;  // at most 12 characters
  uint8_t runCount = 0;
  uint8_t conditions = 0;
  uint8_t actions = 0;
  int16_t firstAction = 0;
};

// A condition or action row (4 bytes).
struct EventActionData {
  uint8_t type = 0;
  uint8_t argument = 0;
  int16_t value = 0;
};

struct GameResourceData {
  std::vector<NpcData> npcs;
  std::vector<MapData> maps;
  std::array<uint8_t, 4> numbers28{};
  std::array<uint8_t, 4> numbers29{};
  std::vector<std::string> messages;  // message 1 first
  std::vector<EventData> events;
  std::vector<EventActionData> actions;
  std::vector<ResourceSectionData> raw;  // further kinds as their owners supply them
};

std::vector<uint8_t> BuildNpcRow(const NpcData& npc);
std::vector<uint8_t> BuildMapRow(const MapData& map);
std::vector<uint8_t> BuildEventRow(const EventData& event);
std::vector<uint8_t> BuildEventActionRow(const EventActionData& action);
// The sections in the given order; entries follow the head, data the entries.
std::vector<uint8_t> BuildResourceContainer(const std::vector<ResourceSectionData>& sections);
// The sections of a game resource: NPCs (6), maps (25), number blocks (28,
// 29), message offsets and texts (33, 34), events and their actions (30,
// 31) when there are any, then the raw ones. False when the
// texts reach 32768 bytes or a section 65536.
bool BuildGameResourceSections(const GameResourceData& data, std::vector<ResourceSectionData>& out, std::string& error);
bool WriteGameResource(const std::string& path, const GameResourceData& data, std::string& error);

}  // namespace datagen
