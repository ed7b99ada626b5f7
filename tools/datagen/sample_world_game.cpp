// The sample world's game-core files: the boss table, the opening movie, the
// game-over picture and a new game's start script.
#include "platform/files.h"
#include "tools/datagen/boss_table_writer.h"
#include "tools/datagen/image_writer.h"
#include "tools/datagen/movie_writer.h"
#include "tools/datagen/output_file.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_parts.h"

namespace datagen {
namespace {

using namespace sample;

// A dark red field with a light band across its middle.
bool WriteGameOverImage(const std::string& path, std::string& error) {
  ImageDesc image;
  image.magic = ImageMagic::Qbi;
  image.width = kGameOverWidth;
  image.height = kGameOverHeight;
  image.palette = {{60, 0, 0}, {220, 200, 180}};
  for (int y = 0; y < kGameOverHeight; ++y) {
    bool band = y >= kGameOverHeight * 2 / 5 && y < kGameOverHeight * 3 / 5;
    image.pixels.insert(image.pixels.end(), kGameOverWidth, band ? 1 : 0);
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
  if (!WriteBossTable(root + kBossTableFile, {boss}, error) ||
      !WriteGameOverImage(root + kGameOverImageFile, error) ||
      !WriteCutSceneBinary(root + kStartScriptFile, FadeCutScene(), error))
    return false;
  if (!WriteAvi(root + kStartingMovieFile, StartingMovie())) {
    error = std::string("cannot write ") + kStartingMovieFile;
    return false;
  }
  return true;
}

}  // namespace datagen
