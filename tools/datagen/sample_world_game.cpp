// The sample world's game-core files: the boss table, the opening movie, the
// game-over picture and a new game's start script.
#include "platform/files.h"
#include "tools/datagen/boss_table_writer.h"
#include "tools/datagen/image_writer.h"
#include "tools/datagen/movie_writer.h"
#include "tools/datagen/output_file.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/ui_art.h"

namespace datagen {
namespace {

using namespace sample;

// "Game over" in light letters on a dark red field, and what happened on a
// light band below. Sprites store their bottom row first.
bool WriteGameOverImage(const std::string& path, std::string& error) {
  enum : uint8_t { kField, kBand, kLetters };
  constexpr int kBandTop = 96, kBandBottom = 128;
  uiart::LabelLayer words;
  if (!words.Render(
          {uiart::Centred("Game over", 0, 0, kGameOverWidth, kBandTop, 40, kLetters),
           uiart::Centred("You were defeated.", 0, kBandTop, kGameOverWidth, kBandBottom - kBandTop, 16, kField)},
          error))
    return false;
  ImageDesc image;
  image.magic = ImageMagic::Qbi;
  image.width = kGameOverWidth;
  image.height = kGameOverHeight;
  image.palette = {{60, 0, 0}, {220, 200, 180}, {250, 235, 215}};
  for (int y = kGameOverHeight - 1; y >= 0; --y)
    for (int x = 0; x < kGameOverWidth; ++x) {
      const int ink = words.At(x, y);
      const bool band = y >= kBandTop && y < kBandBottom;
      const uint8_t ground = band ? kBand : kField;
      image.pixels.push_back(ink >= 0 ? static_cast<uint8_t>(ink) : ground);
    }
  plat::ByteWriter bytes;
  return WriteImage(image, bytes, error) && WriteOutputFile(path, bytes.Bytes(), error);
}

// From black to grey over one second.
MovieSpec StartingMovie() {
  MovieSpec movie;
  movie.width = 80;
  movie.height = 60;
  movie.framesPerSecond = kStartingMovieFrames;
  for (int i = 0; i < kStartingMovieFrames; ++i) {
    uint32_t level = static_cast<uint32_t>(i * 200 / (kStartingMovieFrames - 1));
    movie.frames.push_back(SolidFrame(movie.width, movie.height, level * 0x010101u));
  }
  return movie;
}

}  // namespace

bool WriteSampleGameCore(const std::string& root, std::string& error) {
  BossLine boss;
  boss.enemies = {{kEnemyId, 2}, {kShooterId, 1}};
  // The story battle lost ends the game, as a random one does.
  boss.endGame = true;
  if (!WriteBossTable(root + kBossTableFile, {boss}, error) || !WriteGameOverImage(root + kGameOverImageFile, error) ||
      !WriteCutSceneBinary(root + kStartScriptFile, FadeCutScene(), error))
    return false;
  if (!WriteAvi(root + kStartingMovieFile, StartingMovie())) {
    error = std::string("cannot write ") + kStartingMovieFile;
    return false;
  }
  return true;
}

}  // namespace datagen
