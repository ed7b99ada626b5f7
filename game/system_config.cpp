#include "game/system_config.h"

#include <cstring>

#include "game/game_audio.h"
#include "platform/files.h"

CSystemConfig::CSystemConfig(CGameAudio* gameAudio) : audio(gameAudio) {
  if (plat::FileExists(kPath))
    Load();
  else
    SetDefaults();
  softwareRendering = 0;
}

CSystemConfig::~CSystemConfig() { Save(); }

void CSystemConfig::SetDefaults() {
  keyForward = 'W';
  keyBack = 'S';
  keyLeft = 'A';
  keyRight = 'D';
  SetMusicVolume(30);
  SetSoundVolume(30);
  viewDistance = 2000;
  shadows = 1;
  effects = 1;
  detailDistance = 2000.0f;
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
  // The length field must be the record's own: a larger one would be
  // trusted for an allocation, a smaller one would leave fields unread.
  if (!plat::ReadWholeFile(kPath, bytes, 4 + kRecordSize) || !Parse(bytes)) SetDefaults();
}

bool CSystemConfig::Parse(const std::vector<uint8_t>& bytes) {
  plat::ByteReader in(bytes);
  if (in.I32() != kRecordSize || !in.CanRead(kRecordSize)) return false;
  char magic[4];
  in.Bytes(magic, 4);
  if (std::memcmp(magic, "SCFG", 4) != 0 || in.I32() != kVersion) return false;
  record.assign(bytes.begin() + 4, bytes.begin() + 4 + kRecordSize);
  keyForward = in.U8();
  keyBack = in.U8();
  keyLeft = in.U8();
  keyRight = in.U8();
  musicVolume = in.U16();
  soundVolume = in.U16();
  viewDistance = in.U16();
  shadows = in.U8();
  effects = in.U8();
  detailDistance = in.F32();
  option1 = in.U8();
  option2 = in.U8();
  return !in.Failed();
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

void CSystemConfig::SetViewDistanceSlider(int slider) {
  viewDistance = static_cast<uint16_t>(3000 - 20 * slider);
}

int CSystemConfig::GetDetailDistanceSlider() const {
  return static_cast<int>((detailDistance - 1000) * 0.05);
}

void CSystemConfig::SetDetailDistanceSlider(int slider) {
  detailDistance = static_cast<float>(slider * 2000 / 100 + 1000);
}
