#pragma once
// The game resource file ".\Resource\Zudur.res": the game's fixed tables in
// numbered sections. Every section is read once into memory; the tables the
// game reads by field come as typed rows, the rest as raw blocks for their
// consumers.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace plat {
class File;
}

// A row of the non-player-character table (kind 6), 40 bytes in the file.
struct NPCDESC {
  static constexpr int kSize = 40;
  std::array<uint8_t, kSize> bytes{};  // the whole row; the game core reads the rest

  char Kind() const { return static_cast<char>(bytes[0]); }
  std::string Label() const;   // byte 0, 12 characters; the kind is its first
  std::string Model() const;   // byte 12, 12 characters
  int16_t TableIndex() const;  // byte 18
  std::string Name() const;    // byte 24, 8 characters
  int16_t Role() const;        // byte 38; 251 marks the chasing character
};

// A row of the map table (kind 25), 120 bytes in the file.
struct MAPDESC {
  static constexpr int kSize = 120;
  static constexpr int kEnemySlots = 9;
  static constexpr uint8_t kLightFlag = 0x20;
  std::array<uint8_t, kSize> bytes{};

  std::string Caption() const;    // byte 0
  std::string SceneName() const;  // byte 12
  // Byte 24 holds the day phase (0 none, 1 day, 2 night) and the light flag.
  int DayPhase() const { return bytes[24] & ~kLightFlag; }
  bool LightFlag() const { return (bytes[24] & kLightFlag) != 0; }
  int16_t BattleScene(int i) const;  // i 0 or 1; map rows, 0 ends the list
  int16_t BossScene() const;
  uint8_t StepThreshold() const { return bytes[40]; }
  uint8_t EncounterRate() const { return bytes[41]; }
  int8_t GroupSizeFactor() const { return static_cast<int8_t>(bytes[43]); }
  int16_t Enemy(int i) const;  // i below kEnemySlots; 0 ends the list
  uint8_t CdTrack() const { return bytes[68]; }
  uint8_t BattleCdTrack() const { return bytes[69]; }
};

// A row of the event table (kind 30), 18 bytes in the file. The event runner
// counts runs in place.
struct EVENTDESC {
  static constexpr int kSize = 18;
  char name[13] = {};  // always NUL-terminated
  uint8_t runCount = 0;
  uint8_t conditionCount = 0;
  uint8_t actionCount = 0;
  int16_t firstAction = 0;
};

// A condition or action row (kind 31), 4 bytes in the file.
struct EVENTACTIONDESC {
  static constexpr int kSize = 4;
  uint8_t type = 0;
  uint8_t argument = 0;
  int16_t value = 0;
};

class CGameResource {
 public:
  static constexpr int kKinds = 37;
  static constexpr int kMaxItems = 11;
  static constexpr int kNumberBlockSize = 4;

  struct Item {
    int16_t value = 0;
    std::span<const uint8_t> data;
  };

  CGameResource() = default;
  ~CGameResource();
  CGameResource(const CGameResource&) = delete;
  CGameResource& operator=(const CGameResource&) = delete;

  // Reads ".\Resource\<name>" (".\Resource\Zudur.res" for null) and publishes
  // this object as g_gameResource. A missing file leaves every table empty.
  void Open(const char* name);
  // The path Open reads for name.
  static std::string PathOf(const char* name);

  // The typed tables.
  const std::vector<NPCDESC>& Npcs() const { return npcs_; }
  const std::vector<MAPDESC>& Maps() const { return maps_; }
  std::vector<EVENTDESC>& Events() { return events_; }
  const std::vector<EVENTDESC>& Events() const { return events_; }
  const std::vector<EVENTACTIONDESC>& Actions() const { return actions_; }
  // The 4-byte number blocks of kinds 28 and 29 and their int16 at +2, the
  // base of the event runner and of trigger handling.
  const std::array<uint8_t, kNumberBlockSize>& NumberBlock(int kind) const;
  int16_t EventBase() const;
  int16_t TriggerBase() const;
  // Kind 33's int16 offsets into kind 34's NUL-ended texts.
  const std::vector<int16_t>& MessageOffsets() const { return messageOffsets_; }
  std::span<const uint8_t> MessageTexts() const { return Block(34); }
  // Message n: the first text for n of 1 or less, else the text at offset
  // n - 1; null without an offset table or when the offset leaves the texts.
  const char* MessageText(int n) const;

  // Any kind as stored: the section's record count (0 for kinds that keep
  // only a block), its data and, for the indexed kinds 8, 9 and 21, its items.
  int Count(int kind) const;
  std::span<const uint8_t> Block(int kind) const;
  const std::vector<Item>& Items(int kind) const;

 private:
  struct Section {
    int count = 0;
    std::vector<uint8_t> data;  // with a NUL after the end, for the texts
    std::vector<Item> items;
  };

  void Clear();
  // Damage is reported under path.
  void ReadSections(plat::File& file, const std::string& path);
  void Store(int kind, int count, const std::vector<uint8_t>& index, std::vector<uint8_t> data);
  void ParseTables();

  std::array<Section, kKinds + 1> sections_;                        // by kind; 0 unused
  std::array<std::array<uint8_t, kNumberBlockSize>, 2> numbers_{};  // kinds 28, 29
  std::vector<NPCDESC> npcs_;
  std::vector<MAPDESC> maps_;
  std::vector<EVENTDESC> events_;
  std::vector<EVENTACTIONDESC> actions_;
  std::vector<int16_t> messageOffsets_;
};

extern CGameResource* g_gameResource;

// The resource whose messages GetMessageString answers; null for none. A
// resource that goes away stops answering.
void SetMessageResource(const CGameResource* resource);
// Message n of that resource (see MessageText); null without one.
const char* GetMessageString(int n);
