#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/wave_file.h"

// Sound effects: our own mixer playing static sample buffers, plain or placed
// in 3D around one listener, onto one output device. The mixer runs whether or
// not a device opened; without one nothing is heard but PullMixedFrames still
// advances playback, which is how tests read what would be heard.
//
// 3D: every 3D setting (buffer position and distances, listener position and
// orientation) waits until Commit3DSettings, so a frame's updates land
// together. Coordinates are the listener's space: x right, y up, z forward.
// Gain falls linearly from 1 at the minimum distance to 0 at the maximum; pan
// follows the side of the listener the sound is on.
namespace plat {

// Our own master gains (the system mixer is never touched): sound effects and
// movie sound go through Wave, CD music through Cd.
enum class SoundBus { Wave, Cd };

struct Voice;

// Opens the output device (44100 Hz, stereo, 16 bits until SetOutputFormat).
// A missing device leaves the mixer running unheard.
void OpenSoundOutput();
void CloseSoundOutput();
bool SoundOutputOpen();
// Channels 1 or 2, 8 or 16 bits, 8000..192000 Hz; false (nothing changed) otherwise.
bool SetOutputFormat(int channels, int sampleRate, int bitsPerSample);
int OutputSampleRate();

// Master gains, clamped to 0..1.
void SetBusGain(SoundBus bus, float gain);
float BusGain(SoundBus bus);

// Tests: while on, the device mixes nothing and only PullMixedFrames advances playback.
void SetManualMixing(bool on);
// Mixes the next frames as the device would hear them: stereo, interleaved,
// at the output rate, each sample within -1..1.
std::vector<float> PullMixedFrames(size_t frames);

// The listener, deferred until Commit3DSettings.
void SetListenerPosition(float x, float y, float z);
void SetListenerOrientation(float frontX, float frontY, float frontZ, float topX, float topY, float topZ);
// Applies every deferred 3D setting of the listener and all buffers at once.
void Commit3DSettings();

// A static buffer: the whole sound in memory, played on the Wave bus.
// Positions count sample frames of the buffer's own rate.
class SoundBuffer {
 public:
  // Null when the wave's format is not playable or it holds no frame.
  static std::unique_ptr<SoundBuffer> Create(const Wave& wave, bool is3D);
  ~SoundBuffer();
  SoundBuffer(const SoundBuffer&) = delete;
  SoundBuffer& operator=(const SoundBuffer&) = delete;

  // Shares the samples; has its own position (0), and starts stopped with
  // this buffer's volume, pan and 3D settings. Null when it cannot be made.
  std::unique_ptr<SoundBuffer> Duplicate() const;

  // Plays from the current position; on a playing buffer only the loop
  // setting changes. A buffer that plays to its end stops and rewinds.
  void Play(bool loop);
  // Stops where it is: a later Play continues from there.
  void Stop();
  bool IsPlaying() const;
  size_t Position() const;
  // False (position kept) for a frame beyond the end.
  bool SetPosition(size_t frame);
  size_t FrameCount() const;

  // Linear gain 0..1 and pan -1 (left only) .. 1 (right only); clamped.
  void SetVolume(float gain);
  void SetPan(float pan);

  // Deferred 3D settings; ignored by a plain buffer.
  bool Is3D() const;
  void Set3DPosition(float x, float y, float z);
  void SetMinDistance(float distance);
  void SetMaxDistance(float distance);

 private:
  explicit SoundBuffer(std::unique_ptr<Voice> voice);
  std::unique_ptr<Voice> voice_;
};

}  // namespace plat
