#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/sound.h"

// The mixing core behind SoundBuffer, SoundStream and the output device.
namespace plat {

class StreamSource;

struct Vec3f {
  float x = 0, y = 0, z = 0;
};

struct Placement3D {
  Vec3f position;
  float minDistance = 1.0f;
  float maxDistance = 1.0e9f;
};

struct Listener {
  Vec3f position;
  Vec3f front{0, 0, 1};
  Vec3f top{0, 1, 0};
};

// One source of sound: a static buffer (samples) or a stream (source).
// Every field is guarded by the mixer's mutex once the voice is registered.
struct Voice {
  SoundBus bus = SoundBus::Wave;
  int channels = 1;
  int sampleRate = 22050;
  std::shared_ptr<const std::vector<int16_t>> samples;
  StreamSource* source = nullptr;
  std::vector<int16_t> window;  // stream frames read from the source, not yet played out
  uint64_t windowStart = 0;     // source frame index of window[0]
  bool playing = false;
  bool looping = false;
  double position = 0;  // frames from the buffer's start, or from windowStart for a stream
  float volume = 1.0f;
  float pan = 0.0f;
  bool is3D = false;
  Placement3D pending3D;
  Placement3D active3D;

  size_t FrameCount() const { return samples ? samples->size() / static_cast<size_t>(channels) : 0; }
};

// Shared by the device callback and the main thread: hold `mutex` (briefly)
// to touch anything here or any registered voice.
class Mixer {
 public:
  static Mixer& Get();

  std::mutex mutex;
  int outputRate = 44100;
  float busGain[2] = {1.0f, 1.0f};
  Listener pendingListener;
  Listener activeListener;

  void Add(Voice* voice);
  void Remove(Voice* voice);
  void Commit3D();
  // Mixes frames stereo frames into out, which holds zeros; clamps to -1..1.
  void Mix(float* out, size_t frames);

 private:
  std::vector<Voice*> voices_;
};

// The linear distance law: 1 up to minDistance, 0 from maxDistance on.
float DistanceGain(float distance, float minDistance, float maxDistance);

}  // namespace plat
