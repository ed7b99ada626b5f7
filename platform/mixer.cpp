#include "platform/mixer.h"

#include <algorithm>
#include <cmath>

#include "platform/sound_stream.h"

namespace plat {
namespace {

constexpr size_t kStreamChunkFrames = 1024;
constexpr float kSampleScale = 1.0f / 32768.0f;

Vec3f Sub(Vec3f a, Vec3f b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
float Dot(Vec3f a, Vec3f b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3f Cross(Vec3f a, Vec3f b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float Length(Vec3f v) { return std::sqrt(Dot(v, v)); }

float Lerp(int16_t a, int16_t b, float t) { return (a + (b - a) * t) * kSampleScale; }

void VoiceGains(const Voice& v, const Listener& listener, float busGain, float& left, float& right) {
  float gain = busGain * v.volume;
  float pan = v.pan;
  if (v.is3D) {
    Vec3f rel = Sub(v.active3D.position, listener.position);
    float distance = Length(rel);
    gain *= DistanceGain(distance, v.active3D.minDistance, v.active3D.maxDistance);
    // Left-handed like the listener's space: top x front points right.
    Vec3f side = Cross(listener.top, listener.front);
    float sideLength = Length(side);
    pan = distance > 0 && sideLength > 0 ? Dot(rel, side) / (distance * sideLength) : 0.0f;
  }
  left = gain * (pan > 0 ? 1 - pan : 1);
  right = gain * (pan < 0 ? 1 + pan : 1);
}

void MixStatic(Voice& v, float* out, size_t frames, double step, float gl, float gr) {
  const int16_t* d = v.samples->data();
  const size_t count = v.FrameCount();
  const size_t ch = static_cast<size_t>(v.channels);
  const bool downmix = v.is3D && ch == 2;
  for (size_t n = 0; n < frames && v.playing; ++n) {
    size_t i = static_cast<size_t>(v.position);
    size_t j = i + 1 < count ? i + 1 : (v.looping ? 0 : i);
    float t = static_cast<float>(v.position - static_cast<double>(i));
    float l = Lerp(d[i * ch], d[j * ch], t);
    float r = ch == 2 ? Lerp(d[i * ch + 1], d[j * ch + 1], t) : l;
    if (downmix) l = r = (l + r) * 0.5f;
    out[2 * n] += l * gl;
    out[2 * n + 1] += r * gr;
    v.position += step;
    if (v.position >= static_cast<double>(count)) {
      if (v.looping) {
        v.position = std::fmod(v.position, static_cast<double>(count));
      } else {
        v.playing = false;
        v.position = 0;
      }
    }
  }
}

// Whether window frame index is there, reading on from the source if needed.
bool HasStreamFrame(Voice& v, size_t index) {
  const size_t ch = static_cast<size_t>(v.channels);
  while (index >= v.window.size() / ch) {
    size_t have = v.window.size() / ch;
    v.window.resize((have + kStreamChunkFrames) * ch);
    size_t got = std::min(v.source->Read(v.window.data() + have * ch, kStreamChunkFrames), kStreamChunkFrames);
    v.window.resize((have + got) * ch);
    if (got == 0) return false;
  }
  return true;
}

void MixStream(Voice& v, float* out, size_t frames, double step, float gl, float gr) {
  const size_t ch = static_cast<size_t>(v.channels);
  for (size_t n = 0; n < frames; ++n) {
    size_t i = static_cast<size_t>(v.position);
    if (!HasStreamFrame(v, i)) break;  // starved or ended: silence until more comes
    size_t j = HasStreamFrame(v, i + 1) ? i + 1 : i;
    const int16_t* d = v.window.data();
    float t = static_cast<float>(v.position - static_cast<double>(i));
    float l = Lerp(d[i * ch], d[j * ch], t);
    float r = ch == 2 ? Lerp(d[i * ch + 1], d[j * ch + 1], t) : l;
    out[2 * n] += l * gl;
    out[2 * n + 1] += r * gr;
    v.position += step;
  }
  size_t played = std::min(static_cast<size_t>(v.position), v.window.size() / ch);
  v.window.erase(v.window.begin(), v.window.begin() + static_cast<ptrdiff_t>(played * ch));
  v.windowStart += played;
  v.position -= static_cast<double>(played);
}

}  // namespace

float DistanceGain(float distance, float minDistance, float maxDistance) {
  if (distance <= minDistance) return 1.0f;
  if (distance >= maxDistance) return 0.0f;
  return (maxDistance - distance) / (maxDistance - minDistance);
}

Mixer& Mixer::Get() {
  // Never destroyed: the device thread may still mix while statics go away at exit.
  static Mixer* mixer = new Mixer;
  return *mixer;
}

void Mixer::Add(Voice* voice) { voices_.push_back(voice); }

void Mixer::Remove(Voice* voice) { std::erase(voices_, voice); }

void Mixer::Commit3D() {
  activeListener = pendingListener;
  for (Voice* v : voices_) v->active3D = v->pending3D;
}

void Mixer::Mix(float* out, size_t frames) {
  for (Voice* v : voices_) {
    if (!v->playing) continue;
    float gl, gr;
    VoiceGains(*v, activeListener, busGain[static_cast<int>(v->bus)], gl, gr);
    double step = static_cast<double>(v->sampleRate) / outputRate;
    if (v->source) MixStream(*v, out, frames, step, gl, gr);
    else MixStatic(*v, out, frames, step, gl, gr);
  }
  for (size_t i = 0; i < frames * 2; ++i) out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

}  // namespace plat
