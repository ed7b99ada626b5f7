#include "world/scene_environment.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

#include "base/debug_trace.h"
#include "base/game_globals.h"
#include "components/aj_flare.h"
#include "components/particle_field.h"
#include "components/q_rain.h"
#include "engine/core/fog.h"
#include "platform/files.h"

namespace {

constexpr size_t kHeaderSize = 40;
constexpr size_t kEntryCountOffset = 32;
constexpr size_t kIndexEntrySize = 20;
constexpr size_t kIndexNameSize = 12;
constexpr size_t kRecordBytes = 28;  // what the reader examines of a record
constexpr size_t kFlareRecordSize = 20;
constexpr size_t kMaxEnvironmentBytes = 16u * 1024u * 1024u;

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

float Signed(uint8_t byte) { return static_cast<float>(static_cast<int8_t>(byte)); }

}  // namespace

CSceneEnvironment::CSceneEnvironment(const char* sceneName, const char* fileName)
    : particleField_(std::make_unique<CParticleField>()),
      rain_(std::make_unique<CQRain>()),
      flare_(std::make_unique<CAJFlare>()) {
  Load(sceneName ? sceneName : "", fileName);
  Apply();
}

CSceneEnvironment::~CSceneEnvironment() { Release(); }

void CSceneEnvironment::Release() {
  rain_.reset();
  if (particleField_) particleField_->Release();
  particleField_.reset();
  flare_.reset();
}

void CSceneEnvironment::Load(const std::string& sceneName, const char* fileName) {
  std::vector<uint8_t> bytes;
  if (!fileName || !plat::FileExists(fileName)) return;
  if (!plat::ReadWholeFile(fileName, bytes, kMaxEnvironmentBytes)) {
    DebugTrace("%s cannot be read\n", fileName);
    return;
  }
  const std::string name = sceneName.substr(0, sceneName.find('.'));
  plat::ByteReader r(bytes);
  r.Seek(kEntryCountOffset);
  const int32_t count = r.I32();
  const size_t indexRoom = bytes.size() > kHeaderSize ? (bytes.size() - kHeaderSize) / kIndexEntrySize : 0;
  const size_t entries = std::min(static_cast<size_t>(std::max(count, 0)), indexRoom);
  for (size_t i = 0; i < entries; ++i) {
    r.Seek(kHeaderSize + i * kIndexEntrySize);
    if (!SameNameIgnoringCase(r.FixedString(kIndexNameSize), name)) continue;
    const uint32_t offset = r.U32();
    const int32_t size = std::max(r.I32(), 0);
    // Bytes the record lacks, in the file or by its size, read as zeros.
    std::array<uint8_t, kRecordBytes> record{};
    size_t held = std::min<size_t>(static_cast<size_t>(size), kRecordBytes);
    held = offset < bytes.size() ? std::min(held, bytes.size() - offset) : 0;
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset < bytes.size() ? offset : 0), held, record.begin());
    if (held < std::min<size_t>(static_cast<size_t>(size), kRecordBytes))
      DebugTrace("%s: the record of %s is cut by the file's end\n", fileName, name.c_str());

    plat::ByteReader rec(record.data(), record.size());
    rec.Skip(4);
    const int32_t flags = rec.I32();
    rec.Skip(4);
    const float start = rec.F32();
    const float end = rec.F32();
    SetAmbient(record[0], record[1], record[2]);
    if (static_cast<size_t>(size) > kFlareRecordSize)
      flare_->SetLightDirection({Signed(record[20]) * 0.01f, Signed(record[21]) * 0.01f, Signed(record[22]) * 0.01f});
    if (flags & ENV_PARTICLES) {
      particleField_->SetCount(record[23] * 10);
      particleField_->SetDrift({Signed(record[25]) / 127.0f, Signed(record[26]) / 127.0f, Signed(record[27]) / 127.0f},
                               record[24]);
    }
    SetEffectFlags(flags);
    SetFog(record[8], record[9], record[10], record[11], start, end);
    return;
  }
}

void CSceneEnvironment::SetEffectFlags(int mask) {
  for (int bit : {ENV_FOG, ENV_RAIN, ENV_PARTICLES, ENV_FLARE}) EnableEffect(bit, (mask & bit) != 0);
}

void CSceneEnvironment::EnableEffect(int bit, int on) {
  if (on) effectFlags |= bit;
  else effectFlags &= ~bit;
  switch (bit) {
    case ENV_FOG: EnableFog(on ? 1 : 0); break;
    case ENV_RAIN:
      if (rain_) rain_->SetEnabled(on);
      break;
    case ENV_PARTICLES:
      if (!particleField_) break;
      particleField_->SetVisible(on);
      if (on && particleField_->GetCount() == 0) particleField_->SetCount(kDefaultParticles);
      break;
    case ENV_FLARE:
      if (flare_) flare_->SetEnabled(on);
      break;
    default: break;
  }
}

void CSceneEnvironment::SetAmbient(uint8_t r, uint8_t g, uint8_t b) {
  ambient[0] = r;
  ambient[1] = g;
  ambient[2] = b;
  SetAmbientLight(r / 255.0f, g / 255.0f, b / 255.0f);
}

void CSceneEnvironment::SetFog(uint8_t density, uint8_t r, uint8_t g, uint8_t b, float start, float end) {
  fogDensity = density;
  fogColor[0] = r;
  fogColor[1] = g;
  fogColor[2] = b;
  fogStart = start;
  fogEnd = end;
  if (g_textureMemory == 0) return;
  SetFogRange(start, end);
  SetFogColor(r / 255.0f, g / 255.0f, b / 255.0f);
  SetFogDensity(density / 255.0f);
}

void CSceneEnvironment::Apply() {
  if (rain_) rain_->SetEnabled(rain_->IsRunning());
  if (particleField_) particleField_->SetVisible(particleField_->IsVisible());
  if (flare_) flare_->SetEnabled(flare_->IsEnabled());
  SetAmbient(ambient[0], ambient[1], ambient[2]);
  ApplyFog();
}

void CSceneEnvironment::ApplyFog() {
  EnableEffect(ENV_FOG, effectFlags & ENV_FOG);
  SetFog(fogDensity, fogColor[0], fogColor[1], fogColor[2], fogStart, fogEnd);
}
