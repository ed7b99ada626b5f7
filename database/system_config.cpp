#include "database/system_config.h"

#include <cstring>

#include "base/game_audio.h"
#include "platform/files.h"

CSystemConfig::CSystemConfig(CGameAudio* gameAudio) : audio(gameAudio) {
  if (plat::FileExists(kPath)) Load();
  else SetDefaults();
  softwareRendering = 0;
}

CSystemConfig::~CSystemConfig() { Save(); }

void CSystemConfig::SetDefaults() {
  keyForward = 'W';
  keyBack = 'S';
  keyLeft = 'A';
  keyRight = 'D';
  SetMusicVolume(kDefaultVolume);
  SetSoundVolume(kDefaultVolume);
  viewDistance = kDefaultDistance;
  shadows = 1;
  effects = 1;
  detailDistance = kDefaultDistance;
  option1 = 2;
  option2 = 2;
}

bool CSystemConfig::Save() {
  plat::ByteWriter out;
  out.Bytes("SCFG", 4);
  out.I32(kVersion);
  for (uint8_t key : {keyForward, keyBack, keyLeft, keyRight}) out.U8(key);
  out.U16(musicVolume);
  out.U16(soundVolume);
  out.U16(viewDistance);
  out.U8(shadows);
  out.U8(effects);
  out.F32(detailDistance);
  out.U8(option1);
  out.U8(option2);
  record = out.Bytes();

  plat::ByteWriter file;
  file.I32(kRecordSize);
  file.Bytes(record.data(), record.size());
  return plat::WriteFileAtomic(kPath, file.Bytes().data(), file.Size());
}

void CSystemConfig::Load() {
  std::vector<uint8_t> bytes;
  if (plat::ReadWholeFile(kPath, bytes, kMaxFileBytes) && Parse(bytes)) return;
  // The defaults are written back at quit: the damaged file goes aside
  // first, so whatever it still holds is not lost.
  plat::RenameFile(kPath, kDamagedPath);
  SetDefaults();
}

bool CSystemConfig::Parse(const std::vector<uint8_t>& bytes) {
  plat::ByteReader in(bytes);
  // The length field must be the record's own: a larger one would be
  // trusted for an allocation, a smaller one would leave fields unread.
  // Bytes after the record are not read.
  if (in.I32() != kRecordSize || !in.CanRead(kRecordSize)) return false;
  char magic[4];
  in.Bytes(magic, 4);
  if (std::memcmp(magic, "SCFG", 4) != 0 || in.I32() != kVersion) return false;
  record.assign(bytes.begin() + 4, bytes.begin() + 4 + kRecordSize);
  // A value no setting can produce takes its default: a walk key the hero
  // cannot press, a NaN distance that hides every object, a loud volume.
  auto key = [&](uint8_t fallback) {
    const uint8_t k = in.U8();
    return IsWalkKey(k) ? k : fallback;
  };
  auto within = [](auto value, auto low, auto high, auto fallback) {
    return value >= low && value <= high ? value : fallback;
  };
  keyForward = key('W');
  keyBack = key('S');
  keyLeft = key('A');
  keyRight = key('D');
  musicVolume = within(in.U16(), 0, 100, kDefaultVolume);
  soundVolume = within(in.U16(), 0, 100, kDefaultVolume);
  viewDistance = within(in.U16(), kNearestDistance, kFarthestDistance, kDefaultDistance);
  shadows = within(in.U8(), 0, 1, 1);
  effects = within(in.U8(), 0, 1, 1);
  detailDistance = within(in.F32(), float{kNearestDistance}, float{kFarthestDistance}, float{kDefaultDistance});
  option1 = in.U8();
  option2 = in.U8();
  return !in.Failed();
}

bool CSystemConfig::IsWalkKey(int key) {
  const bool digit = key >= '0' && key <= '9';
  const bool letter = key >= 'A' && key <= 'Z';
  const bool numberPad = key >= 0x60 && key <= 0x6F;  // digits and operators
  const bool named = (key >= 0x20 && key <= 0x28) || key == 0x08 || (key >= 0x10 && key <= 0x12) || key == 0x2D ||
                     key == 0x2E || (key >= 0xBA && key <= 0xC0) || (key >= 0xDB && key <= 0xDE);
  return digit || letter || numberPad || named;
}

void CSystemConfig::SetMusicVolume(int percent) {
  musicVolume = static_cast<uint16_t>(percent);
  if (audio) audio->SetMusicVolume(percent);
}

void CSystemConfig::SetSoundVolume(int percent) {
  soundVolume = static_cast<uint16_t>(percent);
  if (audio) audio->SetSoundVolume(percent);
}

int CSystemConfig::GetViewDistanceSlider() const { return (3000 - viewDistance) / 20; }

void CSystemConfig::SetViewDistanceSlider(int slider) { viewDistance = static_cast<uint16_t>(3000 - 20 * slider); }

int CSystemConfig::GetDetailDistanceSlider() const { return static_cast<int>((detailDistance - 1000) * 0.05); }

void CSystemConfig::SetDetailDistanceSlider(int slider) {
  detailDistance = static_cast<float>(slider * 2000 / 100 + 1000);
}
