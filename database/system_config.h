#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

class CGameAudio;

// The player's settings, kept in "TwSys.cfg": read at start, written at quit.
// The file is an int32 length (26) and a record: "SCFG", int32 version 256,
// the four walk keys, u16 music and sound volumes, u16 view distance, shadow
// and effect bytes, float detail distance and two carried option bytes.
class CSystemConfig {
 public:
  static constexpr const char* kPath = "TwSys.cfg";
  // Where a file that does not read is kept before the defaults replace it.
  static constexpr const char* kDamagedPath = "TwSys.cfg.bad";
  static constexpr int32_t kRecordSize = 26;
  static constexpr int32_t kVersion = 256;
  static constexpr size_t kMaxFileBytes = 4096;
  static constexpr int kDefaultVolume = 30;
  // The view and detail distances the sliders reach.
  static constexpr int kNearestDistance = 1000;
  static constexpr int kFarthestDistance = 3000;
  static constexpr int kDefaultDistance = 2000;

  // Reads the file when there is one, else takes the defaults.
  explicit CSystemConfig(CGameAudio* audio);
  // Writes the file.
  ~CSystemConfig();
  CSystemConfig(const CSystemConfig&) = delete;
  CSystemConfig& operator=(const CSystemConfig&) = delete;

  // The defaults; the volumes go to the audio.
  void SetDefaults();
  // Replaces the file (atomically) with the current values; false when it
  // could not be written.
  bool Save();
  // A file of another length, magic or version gives the defaults, and is
  // renamed to kDamagedPath; a field no setting can produce gives that
  // field's default. Stored volumes are not applied to the audio.
  void Load();
  // Whether the system page can set the key as a walk key.
  static bool IsWalkKey(int key);

  void SetMusicVolume(int percent);
  void SetSoundVolume(int percent);
  int GetViewDistanceSlider() const;
  void SetViewDistanceSlider(int slider);
  int GetDetailDistanceSlider() const;
  void SetDetailDistanceSlider(int slider);

  std::vector<uint8_t> record;  // the last record built or read
  CGameAudio* audio;
  uint8_t keyForward = 'W';
  uint8_t keyBack = 'S';
  uint8_t keyLeft = 'A';
  uint8_t keyRight = 'D';
  uint16_t musicVolume = 30;
  uint16_t soundVolume = 30;
  uint16_t viewDistance = 2000;
  uint8_t shadows = 1;
  uint8_t effects = 1;
  float detailDistance = 2000.0f;
  int softwareRendering = 0;  // not stored
  uint8_t option1 = 2;
  uint8_t option2 = 2;

 private:
  // Takes the record's values when its length, magic and version match.
  bool Parse(const std::vector<uint8_t>& bytes);
};
