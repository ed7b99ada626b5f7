#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/wave_file.h"
#include "tests/support/captures.h"
#include "tools/datagen/wave_writer.h"

namespace {

datagen::WaveSpec MonoSpec(size_t frames) {
  datagen::WaveSpec spec;
  for (size_t i = 0; i < frames; ++i) spec.samples.push_back(static_cast<int16_t>(i * 100 - 3000));
  return spec;
}

bool Parse(const std::vector<uint8_t>& bytes, plat::Wave& wave) {
  return plat::ParseWave(bytes.data(), bytes.size(), wave);
}

// Offset of a chunk's size field.
size_t ChunkSizeAt(const std::vector<uint8_t>& bytes, const char* id) {
  for (size_t i = 12; i + 8 <= bytes.size(); ++i)
    if (std::equal(id, id + 4, bytes.begin() + static_cast<ptrdiff_t>(i))) return i + 4;
  return 0;
}

void PatchU32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

TEST(WaveFile, ReadsPcmFormatsAndSamples) {
  struct Case {
    const char* what;
    int channels, rate, bits;
    uint32_t fmtSize;
  } cases[] = {
      {"16-bit mono", 1, 22050, 16, 16},
      {"8-bit stereo", 2, 11025, 8, 16},
      {"18-byte fmt chunk (empty extension)", 1, 44100, 16, 18},
      {"odd fmt chunk with its pad byte", 2, 8000, 16, 19},
  };
  for (const Case& c : cases) {
    datagen::WaveSpec spec;
    spec.channels = c.channels;
    spec.sampleRate = c.rate;
    spec.bitsPerSample = c.bits;
    spec.fmtChunkSize = c.fmtSize;
    spec.samples = {-32768, -256, 0, 256, 12800, 32512, 1024};  // 8-bit exact values
    if (c.channels == 2) spec.samples.push_back(-512);
    plat::Wave wave;
    ASSERT_TRUE(Parse(datagen::BuildWave(spec), wave)) << c.what;
    EXPECT_EQ(wave.format.channels, c.channels) << c.what;
    EXPECT_EQ(wave.format.sampleRate, c.rate) << c.what;
    EXPECT_EQ(wave.format.bitsPerSample, c.bits) << c.what;
    EXPECT_EQ(wave.samples, spec.samples) << c.what;
  }
}

TEST(WaveFile, SkipsOtherChunksAndToleratesAnOverlongRiffSize) {
  std::vector<uint8_t> bytes = datagen::BuildWave(MonoSpec(5));
  // A "LIST" chunk of odd size (with its pad byte) between the header and "fmt ".
  std::vector<uint8_t> list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
  bytes.insert(bytes.begin() + 12, list.begin(), list.end());
  PatchU32(bytes, 4, 0x7FFFFFFF);
  plat::Wave wave;
  ASSERT_TRUE(Parse(bytes, wave));
  EXPECT_EQ(wave.FrameCount(), 5u);
  EXPECT_EQ(wave.samples[4], 100 * 4 - 3000);
}

TEST(WaveFile, ReadsFromDiskInAnyLetterCase) {
  testsupport::ScopedWorkDir dir;
  ASSERT_TRUE(plat::CreateDirectories("waves"));
  ASSERT_TRUE(datagen::WriteWave("waves/Boom.wav", MonoSpec(64)));
  plat::Wave wave;
  ASSERT_TRUE(plat::ReadWaveFile(".\\WAVES\\boom.WAV", wave));
  EXPECT_EQ(wave.FrameCount(), 64u);
  EXPECT_FALSE(plat::ReadWaveFile("waves/missing.wav", wave));
}

TEST(WaveFile, RejectsDamagedAndUnsupportedFiles) {
  const std::vector<uint8_t> good = datagen::BuildWave(MonoSpec(16));
  auto withSpec = [](auto change) {
    datagen::WaveSpec spec = MonoSpec(16);
    change(spec);
    return datagen::BuildWave(spec);
  };
  auto patched = [&](const char* chunk, int delta, uint32_t value) {
    std::vector<uint8_t> b = good;
    PatchU32(b, ChunkSizeAt(b, chunk) + static_cast<size_t>(delta), value);
    return b;
  };
  std::vector<uint8_t> notRiff = good, notWave = good, noData = good;
  notRiff[0] = 'X';
  notWave[8] = 'X';
  noData[ChunkSizeAt(noData, "data") - 4] = 'X';
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"empty", {}},
      {"not RIFF", notRiff},
      {"not WAVE", notWave},
      {"no data chunk", noData},
      {"fmt chunk of 14 bytes", withSpec([](auto& s) { s.fmtChunkSize = 14; })},
      {"IEEE float tag", withSpec([](auto& s) { s.formatTag = 3; })},
      {"extensible tag", withSpec([](auto& s) {
         s.formatTag = 0xFFFE;
         s.fmtChunkSize = 40;
       })},
      {"24 bits", withSpec([](auto& s) { s.bitsPerSample = 24; })},
      {"no channels", withSpec([](auto& s) { s.channels = 0; })},
      {"three channels", withSpec([](auto& s) { s.channels = 3; })},
      {"rate 0", withSpec([](auto& s) { s.sampleRate = 0; })},
      {"no whole frame", withSpec([](auto& s) { s.samples.clear(); })},
      {"data size beyond the file", patched("data", 0, 0x10000)},
      {"data size 0xFFFFFFFF", patched("data", 0, 0xFFFFFFFF)},
      {"fmt size beyond the file", patched("fmt ", 0, 0xFFFFFFF0)},
      {"block align disagrees", patched("fmt ", 16, 0x00100004)},  // align 4, 16 bits
  };
  for (const Case& c : cases) {
    plat::Wave wave;
    EXPECT_FALSE(Parse(c.bytes, wave)) << c.what;
  }
  for (size_t n = 0; n < good.size(); ++n) {
    std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<ptrdiff_t>(n));
    plat::Wave wave;
    EXPECT_FALSE(Parse(cut, wave)) << "cut to " << n << " bytes";
  }
}

TEST(WaveFile, SurvivesRandomDamage) {
  const std::vector<uint8_t> good = datagen::BuildWave(MonoSpec(32));
  uint32_t state = 12345;
  auto next = [&] { return (state = state * 1103515245u + 12345u) >> 8; };
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> b = good;
    for (int k = 1 + static_cast<int>(next() % 4); k > 0; --k) b[next() % 44] = static_cast<uint8_t>(next());
    b.resize(next() % (b.size() + 1));
    plat::Wave wave;
    if (Parse(b, wave)) {
      EXPECT_GT(wave.FrameCount(), 0u);
      EXPECT_LE(wave.samples.size() * wave.format.bitsPerSample / 8, b.size());
    }
  }
}

}  // namespace
