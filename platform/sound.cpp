#include "platform/sound.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cmath>

#include "platform/mixer.h"
#include "platform/test_caps.h"

namespace plat {
namespace {

struct Output {
  SDL_AudioDeviceID device = 0;
  bool audioInitialised = false;
  int channels = 2;
  int bitsPerSample = 16;
  std::atomic<bool> manual{false};
  std::vector<float> scratch;  // device thread only
};

// Never destroyed: the device thread may still call back while statics go
// away at exit.
Output& g_output = *new Output;

float ClampGain(float gain) { return std::isnan(gain) ? 0.0f : std::clamp(gain, 0.0f, 1.0f); }

void DeviceCallback(void*, Uint8* stream, int length) {
  const size_t bytesPerSample = static_cast<size_t>(g_output.bitsPerSample / 8);
  const size_t channels = static_cast<size_t>(g_output.channels);
  const size_t frames = static_cast<size_t>(length) / (bytesPerSample * channels);
  g_output.scratch.assign(frames * 2, 0.0f);
  if (!g_output.manual) {
    Mixer& mixer = Mixer::Get();
    std::lock_guard lock(mixer.mutex);
    mixer.Mix(g_output.scratch.data(), frames);
  }
  for (size_t n = 0; n < frames; ++n) {
    const float* in = &g_output.scratch[2 * n];
    for (size_t c = 0; c < channels; ++c) {
      float v = channels == 1 ? (in[0] + in[1]) * 0.5f : in[c];
      size_t at = n * channels + c;
      if (bytesPerSample == 1) {
        stream[at] = static_cast<Uint8>(std::lround(v * 127.0f) + 128);
      } else {
        Sint16 s = static_cast<Sint16>(std::lround(v * 32767.0f));
        SDL_memcpy(stream + 2 * at, &s, 2);
      }
    }
  }
}

}  // namespace

void OpenSoundOutput() {
  if (g_output.device || ShouldFail(FailPoint::OpenSoundOutput)) return;
  if (!g_output.audioInitialised) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
    g_output.audioInitialised = true;
  }
  SDL_AudioSpec want{};
  want.freq = OutputSampleRate();
  want.format = g_output.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16SYS;
  want.channels = static_cast<Uint8>(g_output.channels);
  want.samples = 1024;
  want.callback = DeviceCallback;
  // No changes allowed: SDL converts our format to whatever the hardware takes.
  g_output.device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
  if (g_output.device) SDL_PauseAudioDevice(g_output.device, 0);
}

void CloseSoundOutput() {
  if (g_output.device) SDL_CloseAudioDevice(g_output.device);
  g_output.device = 0;
  if (g_output.audioInitialised) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  g_output.audioInitialised = false;
}

bool SoundOutputOpen() { return g_output.device != 0; }

bool SetOutputFormat(int channels, int sampleRate, int bitsPerSample) {
  if ((channels != 1 && channels != 2) || (bitsPerSample != 8 && bitsPerSample != 16) || sampleRate < 8000 ||
      sampleRate > 192000)
    return false;
  if (channels == g_output.channels && bitsPerSample == g_output.bitsPerSample && sampleRate == OutputSampleRate())
    return true;
  // The device thread takes the mixer lock, so it is closed outside it.
  bool reopen = g_output.device != 0;
  if (reopen) {
    SDL_CloseAudioDevice(g_output.device);
    g_output.device = 0;
  }
  g_output.channels = channels;
  g_output.bitsPerSample = bitsPerSample;
  {
    Mixer& mixer = Mixer::Get();
    std::lock_guard lock(mixer.mutex);
    mixer.outputRate = sampleRate;
  }
  if (reopen) OpenSoundOutput();
  return true;
}

int OutputSampleRate() {
  Mixer& mixer = Mixer::Get();
  std::lock_guard lock(mixer.mutex);
  return mixer.outputRate;
}

void SetBusGain(SoundBus bus, float gain) {
  Mixer& mixer = Mixer::Get();
  std::lock_guard lock(mixer.mutex);
  mixer.busGain[static_cast<int>(bus)] = ClampGain(gain);
}

float BusGain(SoundBus bus) {
  Mixer& mixer = Mixer::Get();
  std::lock_guard lock(mixer.mutex);
  return mixer.busGain[static_cast<int>(bus)];
}

void SetManualMixing(bool on) { g_output.manual = on; }

std::vector<float> PullMixedFrames(size_t frames) {
  std::vector<float> out(frames * 2, 0.0f);
  Mixer& mixer = Mixer::Get();
  std::lock_guard lock(mixer.mutex);
  mixer.Mix(out.data(), frames);
  return out;
}

void SetListenerPosition(float x, float y, float z) {
  Mixer& mixer = Mixer::Get();
  std::lock_guard lock(mixer.mutex);
  mixer.pendingListener.position = {x, y, z};
}

void SetListenerOrientation(float frontX, float frontY, float frontZ, float topX, float topY, float topZ) {
  Mixer& mixer = Mixer::Get();
  std::lock_guard lock(mixer.mutex);
  mixer.pendingListener.front = {frontX, frontY, frontZ};
  mixer.pendingListener.top = {topX, topY, topZ};
}

void Commit3DSettings() {
  Mixer& mixer = Mixer::Get();
  std::lock_guard lock(mixer.mutex);
  mixer.Commit3D();
}

// ---- SoundBuffer ----

SoundBuffer::SoundBuffer(std::unique_ptr<Voice> voice) : voice_(std::move(voice)) {
  Mixer& mixer = Mixer::Get();
  std::lock_guard lock(mixer.mutex);
  mixer.Add(voice_.get());
}

SoundBuffer::~SoundBuffer() {
  Mixer& mixer = Mixer::Get();
  std::lock_guard lock(mixer.mutex);
  mixer.Remove(voice_.get());
}

std::unique_ptr<SoundBuffer> SoundBuffer::Create(const Wave& wave, bool is3D) {
  if (!IsPlayableFormat(wave.format) || wave.FrameCount() == 0) return nullptr;
  auto voice = std::make_unique<Voice>();
  voice->channels = wave.format.channels;
  voice->sampleRate = wave.format.sampleRate;
  voice->samples = std::make_shared<const std::vector<int16_t>>(
      wave.samples.begin(), wave.samples.begin() + static_cast<ptrdiff_t>(wave.FrameCount() * voice->channels));
  voice->is3D = is3D;
  return std::unique_ptr<SoundBuffer>(new SoundBuffer(std::move(voice)));
}

std::unique_ptr<SoundBuffer> SoundBuffer::Duplicate() const {
  if (ShouldFail(FailPoint::DuplicateSoundBuffer)) return nullptr;
  auto copy = std::make_unique<Voice>();
  {
    Mixer& mixer = Mixer::Get();
    std::lock_guard lock(mixer.mutex);
    copy->bus = voice_->bus;
    copy->channels = voice_->channels;
    copy->sampleRate = voice_->sampleRate;
    copy->samples = voice_->samples;
    copy->volume = voice_->volume;
    copy->pan = voice_->pan;
    copy->is3D = voice_->is3D;
    copy->pending3D = voice_->pending3D;
    copy->active3D = voice_->active3D;
  }
  return std::unique_ptr<SoundBuffer>(new SoundBuffer(std::move(copy)));
}

void SoundBuffer::Play(bool loop) {
  std::lock_guard lock(Mixer::Get().mutex);
  voice_->playing = true;
  voice_->looping = loop;
}

void SoundBuffer::Stop() {
  std::lock_guard lock(Mixer::Get().mutex);
  voice_->playing = false;
}

bool SoundBuffer::IsPlaying() const {
  std::lock_guard lock(Mixer::Get().mutex);
  return voice_->playing;
}

size_t SoundBuffer::Position() const {
  std::lock_guard lock(Mixer::Get().mutex);
  return static_cast<size_t>(voice_->position);
}

bool SoundBuffer::SetPosition(size_t frame) {
  if (frame >= voice_->FrameCount()) return false;
  std::lock_guard lock(Mixer::Get().mutex);
  voice_->position = static_cast<double>(frame);
  return true;
}

size_t SoundBuffer::FrameCount() const { return voice_->FrameCount(); }

void SoundBuffer::SetVolume(float gain) {
  std::lock_guard lock(Mixer::Get().mutex);
  voice_->volume = ClampGain(gain);
}

void SoundBuffer::SetPan(float pan) {
  std::lock_guard lock(Mixer::Get().mutex);
  voice_->pan = std::isnan(pan) ? 0.0f : std::clamp(pan, -1.0f, 1.0f);
}

bool SoundBuffer::Is3D() const { return voice_->is3D; }

void SoundBuffer::Set3DPosition(float x, float y, float z) {
  if (!voice_->is3D) return;
  std::lock_guard lock(Mixer::Get().mutex);
  voice_->pending3D.position = {x, y, z};
}

void SoundBuffer::SetMinDistance(float distance) {
  if (!voice_->is3D) return;
  std::lock_guard lock(Mixer::Get().mutex);
  voice_->pending3D.minDistance = distance;
}

void SoundBuffer::SetMaxDistance(float distance) {
  if (!voice_->is3D) return;
  std::lock_guard lock(Mixer::Get().mutex);
  voice_->pending3D.maxDistance = distance;
}

}  // namespace plat
