#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/sound.h"

// Sound that is produced while it plays (CD music, a movie's sound track)
// rather than held whole in memory.
namespace plat {

// Called on the mixer's thread with the mixer locked: Read must be quick and
// must not call the sound API.
class StreamSource {
 public:
  virtual ~StreamSource() = default;
  // Fills up to frames interleaved frames and returns how many; fewer means
  // nothing more is ready (for now or for good).
  virtual size_t Read(int16_t* out, size_t frames) = 0;
};

class SoundStream {
 public:
  // Null for a format the mixer cannot play.
  static std::unique_ptr<SoundStream> Create(std::unique_ptr<StreamSource> source, const WaveFormat& format,
                                             SoundBus bus);
  // Stops the voice before the source goes.
  ~SoundStream();
  SoundStream(const SoundStream&) = delete;
  SoundStream& operator=(const SoundStream&) = delete;

  void Play();
  // Silent until the next Play; what was read from the source stays queued.
  void Stop();
  // Frames of the source that have been played out.
  uint64_t PlayedFrames() const;

 private:
  SoundStream(std::unique_ptr<StreamSource> source, std::unique_ptr<Voice> voice);
  std::unique_ptr<StreamSource> source_;
  std::unique_ptr<Voice> voice_;
};

}  // namespace plat
