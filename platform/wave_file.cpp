#include "platform/wave_file.h"

#include <cstring>

#include "platform/files.h"

namespace plat {
namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr size_t kPcmFormatSize = 16;
constexpr size_t kMaxWaveFileBytes = 256u * 1024u * 1024u;

bool IsTag(const uint8_t* p, const char* tag) { return std::memcmp(p, tag, 4) == 0; }

struct Chunk {
  size_t offset = 0;  // of the chunk's body
  size_t size = 0;
  bool found = false;
};

}  // namespace

bool IsPlayableFormat(const WaveFormat& format) {
  return (format.channels == 1 || format.channels == 2) && (format.bitsPerSample == 8 || format.bitsPerSample == 16) &&
         format.sampleRate >= 100 && format.sampleRate <= 200000;
}

bool ParseWave(const uint8_t* bytes, size_t size, Wave& out) {
  ByteReader r(bytes, size);
  uint8_t tag[4];
  if (!r.Bytes(tag, 4) || !IsTag(tag, "RIFF")) return false;
  uint32_t riffSize = r.U32();
  if (!r.Bytes(tag, 4) || !IsTag(tag, "WAVE")) return false;
  // A RIFF size beyond the file is common in damaged files; the file's end rules.
  size_t end = size;
  if (riffSize >= 4 && riffSize - 4 <= r.Remaining()) end = r.Tell() + riffSize - 4;

  Chunk fmt, data;
  while (end - r.Tell() >= 8) {
    r.Bytes(tag, 4);
    size_t chunkSize = r.U32();
    size_t body = r.Tell();
    bool isFmt = IsTag(tag, "fmt ");
    bool isData = IsTag(tag, "data");
    if (chunkSize > end - body) {
      if (isData) return false;  // sample data cut short: the file is damaged
      break;
    }
    if (isFmt && !fmt.found) fmt = {body, chunkSize, true};
    if (isData && !data.found) data = {body, chunkSize, true};
    size_t next = body + chunkSize + (chunkSize & 1);  // chunks are word aligned
    if (next >= end) break;
    r.Seek(next);
  }
  if (!fmt.found || !data.found || fmt.size < kPcmFormatSize) return false;

  ByteReader f(bytes + fmt.offset, fmt.size);
  uint16_t formatTag = f.U16();
  WaveFormat format;
  format.channels = f.U16();
  format.sampleRate = static_cast<int>(f.U32());
  f.U32();  // bytes per second: derived, not trusted
  uint16_t blockAlign = f.U16();
  format.bitsPerSample = f.U16();
  if (formatTag != kFormatPcm || !IsPlayableFormat(format)) return false;
  if (blockAlign != format.channels * format.bitsPerSample / 8) return false;

  size_t frames = data.size / blockAlign;
  if (frames == 0) return false;
  out.format = format;
  out.samples.resize(frames * static_cast<size_t>(format.channels));
  const uint8_t* p = bytes + data.offset;
  if (format.bitsPerSample == 8) {
    for (size_t i = 0; i < out.samples.size(); ++i) out.samples[i] = static_cast<int16_t>((p[i] - 128) * 256);
  } else {
    for (size_t i = 0; i < out.samples.size(); ++i)
      out.samples[i] = static_cast<int16_t>(p[2 * i] | (p[2 * i + 1] << 8));
  }
  return true;
}

bool ReadWaveFile(std::string_view path, Wave& out) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes, kMaxWaveFileBytes)) return false;
  return ParseWave(bytes.data(), bytes.size(), out);
}

}  // namespace plat
