#pragma once
// The per-map memory of keyframed-object states. It outlives scene changes
// and goes whole into saved games:
//   int32 n (at most 600); n int16 map indices; n int16 running record ends
//   (block i holds the records from the end of block i - 1, or 0, to its
//   own end); then as many 8-byte records as the last end: int16 frame,
//   int16 plays left, uint8 direction, uint8 state, two zero bytes.
// Ends are int16, so at most 32767 records are kept. The block may pass
// 65535 bytes.
#include <cstdint>
#include <vector>

namespace plat {
class ByteReader;
class ByteWriter;
}  // namespace plat

class CSceneContent;
class MScene;

struct OBJSTATERECORD {
  int16_t frame = 0;
  int16_t playsLeft = 0;
  uint8_t direction = 0;
  uint8_t state = 0;
};

class CObjectStateMemory {
 public:
  static constexpr int kMaxMaps = 600;
  static constexpr int kMaxRecords = 32767;
  static constexpr int kRecordSize = 8;

  // The current scene's keyframed objects under its map index; a scene
  // without a map record is not remembered.
  void Save(const MScene& scene);
  // Re-poses the current scene's keyframed objects, from its block if any.
  void Restore(MScene& scene);
  void Store(int mapIndex, const CSceneContent& content);
  void Recall(int mapIndex, CSceneContent& content) const;
  void Clear();

  // The stored form above; Read refuses a malformed block (false) and then
  // leaves the memory empty.
  void Write(plat::ByteWriter& out) const;
  bool Read(plat::ByteReader& in);

  // The slot of a map index, -1 when none.
  int FindSlot(int mapIndex) const;
  int MapCount() const { return static_cast<int>(maps_.size()); }
  const std::vector<int16_t>& Maps() const { return maps_; }
  const std::vector<int16_t>& Ends() const { return ends_; }
  const std::vector<OBJSTATERECORD>& Records() const { return records_; }

 private:
  int BlockStart(int slot) const { return slot > 0 ? ends_[slot - 1] : 0; }

  std::vector<int16_t> maps_;
  std::vector<int16_t> ends_;
  std::vector<OBJSTATERECORD> records_;
};
