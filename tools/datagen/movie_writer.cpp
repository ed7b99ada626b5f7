#include "tools/datagen/movie_writer.h"

#include "platform/files.h"

namespace datagen {
namespace {

constexpr uint32_t kHasIndex = 0x10;
constexpr uint32_t kKeyFrame = 0x10;

struct IndexEntry {
  const char* id;
  uint32_t offset;
  uint32_t size;
};

// Opens a chunk (or a LIST when listType is given); returns where its size goes.
size_t BeginChunk(plat::ByteWriter& w, const char* id, const char* listType = nullptr) {
  w.Bytes(id, 4);
  size_t at = w.Size();
  w.U32(0);
  if (listType) w.Bytes(listType, 4);
  return at;
}

void EndChunk(plat::ByteWriter& w, size_t sizeAt) {
  w.PatchU32(sizeAt, static_cast<uint32_t>(w.Size() - sizeAt - 4));
  if (w.Size() & 1) w.U8(0);
}

void StreamHeader(plat::ByteWriter& w, const char* type, uint32_t scale, uint32_t rate, uint32_t length,
                  uint32_t bufferSize, uint32_t sampleSize, int width, int height) {
  size_t at = BeginChunk(w, "strh");
  w.Bytes(type, 4);
  w.U32(0);  // handler
  w.U32(0);  // flags
  w.U16(0);  // priority
  w.U16(0);  // language
  w.U32(0);  // initial frames
  w.U32(scale);
  w.U32(rate);
  w.U32(0);  // start
  w.U32(length);
  w.U32(bufferSize);
  w.U32(0xFFFFFFFFu);  // quality: default
  w.U32(sampleSize);
  w.U16(0);
  w.U16(0);
  w.U16(static_cast<uint16_t>(width));
  w.U16(static_cast<uint16_t>(height));
  EndChunk(w, at);
}

}  // namespace

std::vector<uint32_t> SolidFrame(int width, int height, uint32_t rgb) {
  return std::vector<uint32_t>(static_cast<size_t>(width) * static_cast<size_t>(height), rgb);
}

std::vector<uint8_t> BuildAvi(const MovieSpec& spec) {
  const uint32_t frames = static_cast<uint32_t>(spec.frames.size());
  const uint32_t rowBytes = (static_cast<uint32_t>(spec.width) * 3 + 3) & ~3u;
  const uint32_t frameBytes = rowBytes * static_cast<uint32_t>(spec.height);
  const bool hasSound = spec.soundRate > 0;
  const uint32_t soundSamples = static_cast<uint32_t>(spec.sound.size());

  plat::ByteWriter w;
  size_t riff = BeginChunk(w, "RIFF", "AVI ");
  size_t hdrl = BeginChunk(w, "LIST", "hdrl");
  size_t avih = BeginChunk(w, "avih");
  w.U32(static_cast<uint32_t>(1000000 / spec.framesPerSecond));
  w.U32(frameBytes * static_cast<uint32_t>(spec.framesPerSecond) + static_cast<uint32_t>(spec.soundRate) * 2);
  w.U32(0);  // padding granularity
  w.U32(kHasIndex);
  w.U32(frames);
  w.U32(0);  // initial frames
  w.U32(hasSound ? 2 : 1);
  w.U32(frameBytes);
  w.U32(static_cast<uint32_t>(spec.width));
  w.U32(static_cast<uint32_t>(spec.height));
  w.Zeros(16);
  EndChunk(w, avih);

  size_t strl = BeginChunk(w, "LIST", "strl");
  StreamHeader(w, "vids", 1, static_cast<uint32_t>(spec.framesPerSecond), frames, frameBytes, 0, spec.width,
               spec.height);
  size_t strf = BeginChunk(w, "strf");
  w.U32(40);
  w.I32(spec.width);
  w.I32(spec.height);  // positive: rows stored bottom-up
  w.U16(1);
  w.U16(24);
  w.U32(0);  // uncompressed
  w.U32(frameBytes);
  w.Zeros(16);
  EndChunk(w, strf);
  EndChunk(w, strl);

  if (hasSound) {
    size_t astrl = BeginChunk(w, "LIST", "strl");
    StreamHeader(w, "auds", 2, static_cast<uint32_t>(spec.soundRate) * 2, soundSamples,
                 static_cast<uint32_t>(spec.soundRate) * 2, 2, 0, 0);
    size_t astrf = BeginChunk(w, "strf");
    w.U16(1);  // PCM
    w.U16(1);
    w.U32(static_cast<uint32_t>(spec.soundRate));
    w.U32(static_cast<uint32_t>(spec.soundRate) * 2);
    w.U16(2);
    w.U16(16);
    EndChunk(w, astrf);
    EndChunk(w, astrl);
  }
  EndChunk(w, hdrl);

  std::vector<IndexEntry> index;
  size_t movi = BeginChunk(w, "LIST", "movi");
  const size_t moviStart = movi + 4;  // index offsets count from the list type
  for (uint32_t f = 0; f < frames; ++f) {
    if (hasSound) {
      // The sound of a frame comes before its picture, so it is queued by the time it shows.
      size_t from = static_cast<size_t>(soundSamples) * f / frames;
      size_t to = static_cast<size_t>(soundSamples) * (f + 1) / frames;
      index.push_back({"01wb", static_cast<uint32_t>(w.Size() - moviStart), static_cast<uint32_t>((to - from) * 2)});
      size_t chunk = BeginChunk(w, "01wb");
      for (size_t i = from; i < to; ++i) w.I16(spec.sound[i]);
      EndChunk(w, chunk);
    }
    index.push_back({"00db", static_cast<uint32_t>(w.Size() - moviStart), frameBytes});
    size_t chunk = BeginChunk(w, "00db");
    const std::vector<uint32_t>& pixels = spec.frames[f];
    for (int row = spec.height - 1; row >= 0; --row) {
      for (int x = 0; x < spec.width; ++x) {
        size_t at = static_cast<size_t>(row) * static_cast<size_t>(spec.width) + x;
        uint32_t rgb = at < pixels.size() ? pixels[at] : 0;
        w.U8(static_cast<uint8_t>(rgb));        // blue
        w.U8(static_cast<uint8_t>(rgb >> 8));   // green
        w.U8(static_cast<uint8_t>(rgb >> 16));  // red
      }
      w.Zeros(rowBytes - static_cast<uint32_t>(spec.width) * 3);
    }
    EndChunk(w, chunk);
  }
  EndChunk(w, movi);

  size_t idx1 = BeginChunk(w, "idx1");
  for (const IndexEntry& e : index) {
    w.Bytes(e.id, 4);
    w.U32(kKeyFrame);
    w.U32(e.offset);
    w.U32(e.size);
  }
  EndChunk(w, idx1);
  EndChunk(w, riff);
  return w.Bytes();
}

bool WriteAvi(const std::string& path, const MovieSpec& spec) {
  std::vector<uint8_t> bytes = BuildAvi(spec);
  return plat::WriteFileAtomic(path, bytes.data(), bytes.size());
}

}  // namespace datagen
