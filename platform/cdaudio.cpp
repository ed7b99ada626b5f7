#include "platform/cdaudio.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/files.h"
#include "platform/sound_stream.h"

namespace plat {
namespace {

constexpr int kMaxTrack = 99;

// Reads one track file from its current position, up to a frame budget.
class TrackSource : public StreamSource {
 public:
  TrackSource(SNDFILE* file, int64_t frames) : file_(file), remaining_(frames) {}
  ~TrackSource() override { sf_close(file_); }
  size_t Read(int16_t* out, size_t frames) override {
    sf_count_t want = std::min<sf_count_t>(static_cast<sf_count_t>(frames), remaining_);
    sf_count_t got = want > 0 ? sf_readf_short(file_, out, want) : 0;
    if (got < 0) got = 0;
    remaining_ -= got;
    return static_cast<size_t>(got);
  }

 private:
  SNDFILE* file_;
  sf_count_t remaining_;
};

struct OpenTrack {
  SNDFILE* file = nullptr;
  SF_INFO info{};
};

struct CdState {
  bool open = false;
  CdMode mode = CdMode::Stopped;
  int track = 1;
  int sampleRate = 44100;  // of the current track
  int64_t position = 0;    // sample frames into the track, when not playing
  int64_t playStart = 0;   // sample frames, while playing
  int64_t playEnd = 0;
  std::unique_ptr<SoundStream> stream;
};

CdState g_cd;

bool OpenTrackFile(int track, OpenTrack& out) {
  if (track < 1 || track > kMaxTrack) return false;
  for (const char* ext : {"wav", "ogg", "flac"}) {
    char name[32];
    std::snprintf(name, sizeof name, "cdaudio/track%02d.%s", track, ext);
    auto path = ResolvePath(name);
    if (!path) continue;
    const int fd = OpenRegularFile(*path);
    if (fd < 0) continue;
    out.info = SF_INFO{};
    out.file = sf_open_fd(fd, SFM_READ, &out.info, SF_TRUE);
    if (!out.file) continue;
    if ((out.info.channels == 1 || out.info.channels == 2) && out.info.samplerate >= 100 &&
        out.info.samplerate <= 200000 && out.info.frames > 0)
      return true;
    sf_close(out.file);
    out.file = nullptr;
  }
  return false;
}

int64_t CdFramesOf(int64_t samples, int rate) { return samples * kCdFramesPerSecond / rate; }
int64_t SamplesOf(int64_t cdFrames, int rate) { return cdFrames * rate / kCdFramesPerSecond; }

// A play that has run out becomes a stop at its end.
void Refresh() {
  if (g_cd.mode != CdMode::Playing) return;
  int64_t now = g_cd.playStart + static_cast<int64_t>(g_cd.stream->PlayedFrames());
  if (now < g_cd.playEnd) return;
  g_cd.stream.reset();
  g_cd.position = g_cd.playEnd;
  g_cd.mode = CdMode::Stopped;
}

int64_t CurrentSample() {
  Refresh();
  if (g_cd.mode == CdMode::Playing) return g_cd.playStart + static_cast<int64_t>(g_cd.stream->PlayedFrames());
  return g_cd.position;
}

// Keeps the position and drops the voice.
void Halt(CdMode mode) {
  g_cd.position = CurrentSample();
  g_cd.stream.reset();
  g_cd.mode = mode;
}

bool PlayRange(int track, bool fromCurrent, int64_t fromCdFrame, uint32_t toTmsf) {
  int toTrack = static_cast<int>(toTmsf & 0xFF);
  int toMinute = static_cast<int>(toTmsf >> 8 & 0xFF);
  int toSecond = static_cast<int>(toTmsf >> 16 & 0xFF);
  int toFrame = static_cast<int>(toTmsf >> 24 & 0xFF);
  if (toTrack != track || toSecond >= 60 || toFrame >= kCdFramesPerSecond) return false;
  OpenTrack t;
  if (!OpenTrackFile(track, t)) return false;
  const int rate = t.info.samplerate;
  const int64_t length = t.info.frames;
  int64_t toCd = (toMinute * 60 + toSecond) * kCdFramesPerSecond + toFrame;
  int64_t lengthCd = CdFramesOf(length, rate);
  int64_t from = fromCurrent ? CurrentSample() : SamplesOf(fromCdFrame, rate);
  // The track's last partial frame belongs to its end position.
  int64_t to = toCd >= lengthCd ? length : SamplesOf(toCd, rate);
  if (toCd > lengthCd || from >= to || sf_seek(t.file, from, SEEK_SET) < 0) {
    sf_close(t.file);
    return false;
  }
  WaveFormat format{t.info.channels, rate, 16};
  auto stream = SoundStream::Create(std::make_unique<TrackSource>(t.file, to - from), format, SoundBus::Cd);
  if (!stream) return false;
  g_cd.stream = std::move(stream);
  g_cd.track = track;
  g_cd.sampleRate = rate;
  g_cd.playStart = from;
  g_cd.playEnd = to;
  g_cd.mode = CdMode::Playing;
  g_cd.stream->Play();
  return true;
}

}  // namespace

bool OpenCdAudio() {
  if (g_cd.open) return false;
  g_cd = CdState{};
  g_cd.open = true;
  return true;
}

bool CloseCdAudio() {
  if (!g_cd.open) return false;
  g_cd = CdState{};
  return true;
}

bool CdAudioOpen() { return g_cd.open; }

int CdTrackCount() {
  if (!g_cd.open) return 0;
  int highest = 0;
  for (const std::string& name : ListFiles("cdaudio/track*.*")) {
    int track = 0;
    char ext[8] = {};
    if (std::sscanf(name.c_str() + 5, "%2d.%7s", &track, ext) != 2) continue;
    std::string e(ext);
    for (char& c : e) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if ((e == "wav" || e == "ogg" || e == "flac") && track <= kMaxTrack) highest = std::max(highest, track);
  }
  return highest;
}

bool CdTrackLength(int track, uint32_t& msf) {
  if (!g_cd.open) return false;
  OpenTrack t;
  if (!OpenTrackFile(track, t)) return false;
  int64_t cd = CdFramesOf(t.info.frames, t.info.samplerate);
  sf_close(t.file);
  int64_t seconds = cd / kCdFramesPerSecond;
  msf = PackMsf(static_cast<int>(seconds / 60), static_cast<int>(seconds % 60),
                static_cast<int>(cd % kCdFramesPerSecond));
  return true;
}

bool PlayCd(uint32_t fromTmsf, uint32_t toTmsf) {
  if (!g_cd.open) return false;
  int minute = static_cast<int>(fromTmsf >> 8 & 0xFF);
  int second = static_cast<int>(fromTmsf >> 16 & 0xFF);
  int frame = static_cast<int>(fromTmsf >> 24 & 0xFF);
  if (second >= 60 || frame >= kCdFramesPerSecond) return false;
  int64_t fromCd = (minute * 60 + second) * kCdFramesPerSecond + frame;
  return PlayRange(static_cast<int>(fromTmsf & 0xFF), false, fromCd, toTmsf);
}

bool PlayCdTo(uint32_t toTmsf) {
  if (!g_cd.open) return false;
  return PlayRange(g_cd.track, true, 0, toTmsf);
}

bool PauseCd() {
  if (!g_cd.open) return false;
  Refresh();
  if (g_cd.mode != CdMode::Playing) return false;
  Halt(CdMode::Paused);
  return true;
}

bool StopCd() {
  if (!g_cd.open) return false;
  Halt(CdMode::Stopped);
  return true;
}

CdMode GetCdMode() {
  Refresh();
  return g_cd.mode;
}

uint32_t CdPosition() {
  if (!g_cd.open) return 0;
  int64_t cd = CdFramesOf(CurrentSample(), g_cd.sampleRate);
  int64_t seconds = cd / kCdFramesPerSecond;
  return PackTmsf(g_cd.track, static_cast<int>(seconds / 60), static_cast<int>(seconds % 60),
                  static_cast<int>(cd % kCdFramesPerSecond));
}

}  // namespace plat
