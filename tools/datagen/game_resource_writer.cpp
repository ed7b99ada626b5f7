#include "tools/datagen/game_resource_writer.h"

#include <algorithm>

#include "platform/files.h"
#include "tools/datagen/output_file.h"

namespace datagen {

namespace {

constexpr size_t kHeadSize = 48;
constexpr size_t kEntrySize = 12;
constexpr size_t kIndexRecordSize = 12;
constexpr size_t kMaxSectionSize = 65535;
constexpr size_t kMaxTextBytes = 32767;

std::vector<uint8_t> SectionBytes(const ResourceSectionData& s) {
  if (s.items.empty()) return s.data;
  plat::ByteWriter w;
  for (const auto& [value, bytes] : s.items) {
    w.Zeros(4);
    w.I16(value);
    w.U16(static_cast<uint16_t>(bytes.size()));
    w.Zeros(4);
  }
  for (const auto& item : s.items) w.Bytes(item.second.data(), item.second.size());
  return w.Bytes();
}

ResourceSectionData Plain(uint16_t kind, int16_t count, std::vector<uint8_t> data) {
  ResourceSectionData s;
  s.kind = kind;
  s.count = count;
  s.data = std::move(data);
  return s;
}

}  // namespace

std::vector<uint8_t> BuildNpcRow(const NpcData& npc) {
  plat::ByteWriter w;
  w.U8(static_cast<uint8_t>(npc.kind));
  w.Zeros(11);
  w.FixedString(npc.model, 6);
  w.I16(npc.tableIndex);
  w.Zeros(4);
  w.FixedString(npc.name, 8);
  w.Zeros(6);
  w.I16(npc.role);
  return w.Bytes();
}

std::vector<uint8_t> BuildMapRow(const MapData& map) {
  plat::ByteWriter w;
  w.FixedString(map.caption, 12);
  w.FixedString(map.scene, 12);
  w.U8(static_cast<uint8_t>((map.dayPhase & 3) | (map.lightFlag ? 0x20 : 0)));
  w.Zeros(3);
  w.I16(map.battleScenes[0]);
  w.Zeros(2);
  w.I16(map.battleScenes[1]);
  w.Zeros(2);
  w.I16(map.bossScene);
  w.Zeros(2);
  w.U8(map.stepThreshold);
  w.U8(map.encounterRate);
  w.U8(0);
  w.I8(map.groupSizeFactor);
  for (size_t i = 0; i < 9; ++i) w.I16(i < map.enemies.size() ? map.enemies[i] : 0);
  w.Zeros(68 - w.Size());
  w.U8(map.cdTrack);
  w.U8(map.battleCdTrack);
  w.Zeros(120 - w.Size());
  return w.Bytes();
}

std::vector<uint8_t> BuildResourceContainer(const std::vector<ResourceSectionData>& sections) {
  std::vector<std::vector<uint8_t>> bodies;
  for (const ResourceSectionData& s : sections) bodies.push_back(SectionBytes(s));
  plat::ByteWriter w;
  w.Zeros(46);
  w.I16(static_cast<int16_t>(sections.size()));
  size_t offset = kHeadSize + sections.size() * kEntrySize;
  for (size_t i = 0; i < sections.size(); ++i) {
    const ResourceSectionData& s = sections[i];
    bool indexed = !s.items.empty();
    w.U16(static_cast<uint16_t>(s.kind | (indexed ? 0x8000 : 0)));
    w.U16(0);
    w.I16(indexed ? static_cast<int16_t>(s.items.size()) : s.count);
    w.U16(static_cast<uint16_t>(bodies[i].size()));
    w.U32(static_cast<uint32_t>(offset));
    offset += bodies[i].size();
  }
  for (const std::vector<uint8_t>& body : bodies) w.Bytes(body.data(), body.size());
  return w.Bytes();
}

std::vector<uint8_t> BuildEventRow(const EventData& event) {
  plat::ByteWriter w;
  w.FixedString(event.name, 13);
  w.U8(event.runCount);
  w.U8(event.conditions);
  w.U8(event.actions);
  w.I16(event.firstAction);
  return w.Bytes();
}

std::vector<uint8_t> BuildEventActionRow(const EventActionData& action) {
  plat::ByteWriter w;
  w.U8(action.type);
  w.U8(action.argument);
  w.I16(action.value);
  return w.Bytes();
}

bool BuildGameResourceSections(const GameResourceData& data, std::vector<ResourceSectionData>& out,
                               std::string& error) {
  out.clear();
  std::vector<uint8_t> npcs;
  for (const NpcData& n : data.npcs) {
    std::vector<uint8_t> row = BuildNpcRow(n);
    npcs.insert(npcs.end(), row.begin(), row.end());
  }
  std::vector<uint8_t> maps;
  for (const MapData& m : data.maps) {
    std::vector<uint8_t> row = BuildMapRow(m);
    maps.insert(maps.end(), row.begin(), row.end());
  }
  plat::ByteWriter offsets;
  std::vector<uint8_t> texts;
  for (const std::string& m : data.messages) {
    offsets.I16(static_cast<int16_t>(texts.size()));
    texts.insert(texts.end(), m.begin(), m.end());
    texts.push_back(0);
  }
  if (texts.size() > kMaxTextBytes) {
    error = "message texts exceed 32767 bytes";
    return false;
  }
  out.push_back(Plain(6, static_cast<int16_t>(data.npcs.size()), npcs));
  out.push_back(Plain(25, static_cast<int16_t>(data.maps.size()), maps));
  out.push_back(Plain(28, 0, {data.numbers28.begin(), data.numbers28.end()}));
  out.push_back(Plain(29, 0, {data.numbers29.begin(), data.numbers29.end()}));
  if (!data.messages.empty()) {
    out.push_back(Plain(33, 0, offsets.Bytes()));
    out.push_back(Plain(34, 0, texts));
  }
  if (!data.events.empty() || !data.actions.empty()) {
    std::vector<uint8_t> events;
    for (const EventData& e : data.events) {
      std::vector<uint8_t> row = BuildEventRow(e);
      events.insert(events.end(), row.begin(), row.end());
    }
    std::vector<uint8_t> actions;
    for (const EventActionData& a : data.actions) {
      std::vector<uint8_t> row = BuildEventActionRow(a);
      actions.insert(actions.end(), row.begin(), row.end());
    }
    out.push_back(Plain(30, static_cast<int16_t>(data.events.size()), events));
    out.push_back(Plain(31, static_cast<int16_t>(data.actions.size()), actions));
  }
  out.insert(out.end(), data.raw.begin(), data.raw.end());
  for (const ResourceSectionData& s : out) {
    if (SectionBytes(s).size() > kMaxSectionSize) {
      error = "section of kind " + std::to_string(s.kind) + " exceeds 65535 bytes";
      return false;
    }
  }
  return true;
}

bool WriteGameResource(const std::string& path, const GameResourceData& data, std::string& error) {
  std::vector<ResourceSectionData> sections;
  if (!BuildGameResourceSections(data, sections, error)) return false;
  return WriteOutputFile(path, BuildResourceContainer(sections), error);
}

}  // namespace datagen
