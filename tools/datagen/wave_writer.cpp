#include "tools/datagen/wave_writer.h"

#include "platform/files.h"

namespace datagen {

std::vector<int16_t> ConstantSamples(size_t frames, int channels, int16_t level) {
  return std::vector<int16_t>(frames * static_cast<size_t>(channels), level);
}

std::vector<uint8_t> BuildWave(const WaveSpec& spec) {
  const int blockAlign = spec.channels * spec.bitsPerSample / 8;
  plat::ByteWriter fmt;
  fmt.U16(spec.formatTag);
  fmt.U16(static_cast<uint16_t>(spec.channels));
  fmt.U32(static_cast<uint32_t>(spec.sampleRate));
  fmt.U32(static_cast<uint32_t>(spec.sampleRate * blockAlign));
  fmt.U16(static_cast<uint16_t>(blockAlign));
  fmt.U16(static_cast<uint16_t>(spec.bitsPerSample));
  fmt.Bytes().resize(spec.fmtChunkSize, 0);

  plat::ByteWriter data;
  for (int16_t s : spec.samples) {
    if (spec.bitsPerSample == 8) data.U8(static_cast<uint8_t>((s >> 8) + 128));
    else data.I16(s);
  }

  plat::ByteWriter w;
  w.Bytes("RIFF", 4);
  w.U32(0);
  w.Bytes("WAVE", 4);
  w.Bytes("fmt ", 4);
  w.U32(spec.fmtChunkSize);
  w.Bytes(fmt.Bytes().data(), fmt.Size());
  if (fmt.Size() & 1) w.U8(0);
  w.Bytes("data", 4);
  w.U32(static_cast<uint32_t>(data.Size()));
  w.Bytes(data.Bytes().data(), data.Size());
  if (data.Size() & 1) w.U8(0);
  w.PatchU32(4, static_cast<uint32_t>(w.Size() - 8));
  return w.Bytes();
}

bool WriteWave(const std::string& path, const WaveSpec& spec) {
  std::vector<uint8_t> bytes = BuildWave(spec);
  return plat::WriteFileAtomic(path, bytes.data(), bytes.size());
}

}  // namespace datagen
