#include "platform/sound_stream.h"

#include "platform/mixer.h"

namespace plat {

std::unique_ptr<SoundStream> SoundStream::Create(std::unique_ptr<StreamSource> source, const WaveFormat& format,
                                                 SoundBus bus) {
  WaveFormat pcm16 = format;
  pcm16.bitsPerSample = 16;  // sources always deliver 16-bit frames
  if (!source || !IsPlayableFormat(pcm16)) return nullptr;
  auto voice = std::make_unique<Voice>();
  voice->bus = bus;
  voice->channels = format.channels;
  voice->sampleRate = format.sampleRate;
  voice->source = source.get();
  return std::unique_ptr<SoundStream>(new SoundStream(std::move(source), std::move(voice)));
}

SoundStream::SoundStream(std::unique_ptr<StreamSource> source, std::unique_ptr<Voice> voice)
    : source_(std::move(source)), voice_(std::move(voice)) {
  Mixer& mixer = Mixer::Get();
  std::lock_guard lock(mixer.mutex);
  mixer.Add(voice_.get());
}

SoundStream::~SoundStream() {
  Mixer& mixer = Mixer::Get();
  std::lock_guard lock(mixer.mutex);
  mixer.Remove(voice_.get());
}

void SoundStream::Play() {
  std::lock_guard lock(Mixer::Get().mutex);
  voice_->playing = true;
}

void SoundStream::Stop() {
  std::lock_guard lock(Mixer::Get().mutex);
  voice_->playing = false;
}

uint64_t SoundStream::PlayedFrames() const {
  std::lock_guard lock(Mixer::Get().mutex);
  return voice_->windowStart + static_cast<uint64_t>(voice_->position);
}

}  // namespace plat
