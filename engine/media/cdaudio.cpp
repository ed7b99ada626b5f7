#include "engine/media/cdaudio.h"

#include <cstdint>

#include "engine/core/engine_state.h"
#include "engine/core/frame_timers.h"
#include "platform/cdaudio.h"

CDAUDIOSTATE g_cdAudio;

namespace {

constexpr int kDeviceId = 1;
constexpr float kLoopChecksPerSecond = 1.0f;

uint32_t RangeStart() {
  return plat::PackTmsf(g_cdAudio.startTrack, g_cdAudio.startMinute, g_cdAudio.startSecond, g_cdAudio.startFrame);
}

uint32_t RangeEnd() {
  return plat::PackTmsf(g_cdAudio.endTrack, g_cdAudio.endMinute, g_cdAudio.endSecond, g_cdAudio.endFrame);
}

bool Playing() { return plat::GetCdMode() == plat::CdMode::Playing; }

}  // namespace

// Which drive holds the disc does not matter: its tracks are files.
int OpenCDAudio(char) { return OpenCDAudioDefault(); }

int OpenCDAudioDefault() {
  if (!g_engineOpen || g_cdAudio.deviceId || !plat::OpenCdAudio()) return 0;
  g_cdAudio.deviceId = kDeviceId;
  return 1;
}

int CloseCDAudio() {
  if (!g_cdAudio.deviceId) return 0;
  plat::CloseCdAudio();
  g_cdAudio.deviceId = 0;
  return 1;
}

int PlayCDTrack(int track, int loop) {
  if (!g_cdAudio.deviceId) return 0;
  uint32_t length = 0;
  if (!plat::CdTrackLength(track, length)) return 0;
  g_cdAudio.startTrack = track;
  g_cdAudio.startMinute = g_cdAudio.startSecond = g_cdAudio.startFrame = 0;
  g_cdAudio.endTrack = track;
  g_cdAudio.endMinute = static_cast<int>(length & 0xFF);
  g_cdAudio.endSecond = static_cast<int>(length >> 8 & 0xFF);
  g_cdAudio.endFrame = static_cast<int>(length >> 16 & 0xFF);
  if (!plat::PlayCd(RangeStart(), RangeEnd())) return 0;
  if ((loop & 0x00FFFFFF) == 1) {
    g_cdAudio.loop = 1;
    g_cdAudio.paused = 0;
    SetFrameTimer(kCdLoopTimerSlot, kLoopChecksPerSecond, CDLoopTick, 1);
  } else {
    g_cdAudio.loop = 0;
  }
  return 1;
}

int PauseCDAudio() {
  if (!g_cdAudio.deviceId || !Playing()) return 0;
  g_cdAudio.paused = 1;
  plat::PauseCd();
  return 1;
}

int ResumeCDAudio() {
  if (!g_cdAudio.deviceId || !g_cdAudio.paused || Playing()) return 0;
  g_cdAudio.paused = 0;
  return plat::PlayCdTo(RangeEnd()) ? 1 : 0;
}

int StopCDAudio() {
  if (!g_cdAudio.deviceId) return 0;
  g_cdAudio.loop = 0;
  g_cdAudio.paused = 0;
  g_cdAudio.startTrack = 0;
  return plat::StopCd() ? 1 : 0;
}

int IsCDPlaying() { return g_cdAudio.deviceId && Playing() ? 1 : 0; }

void CDLoopTick(int) {
  if (!g_cdAudio.loop) {
    SetFrameTimer(kCdLoopTimerSlot, kLoopChecksPerSecond, nullptr, 1);
    return;
  }
  if (g_cdAudio.paused || !g_cdAudio.deviceId || Playing()) return;
  plat::PlayCd(RangeStart(), RangeEnd());
}
