#pragma once
#include <cstdint>
#include <memory>
#include <string_view>

// Movies decoded by FFmpeg: video frames drawn into a 16-bit surface, the
// sound track played through the mixer on the Wave bus. Frames are paced by
// their timestamps against QueryCounter, so a test clock drives playback.
namespace plat {

enum class PixelLayout { Rgb565, Rgb555 };

// Where a frame goes: a rectangle of a 16-bit surface. The frame is scaled to
// the rectangle; parts of the rectangle outside the surface are not drawn.
struct MovieTarget {
  uint16_t* pixels = nullptr;
  int surfaceWidth = 0;
  int surfaceHeight = 0;
  int pitch = 0;  // bytes per surface row
  PixelLayout layout = PixelLayout::Rgb565;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

enum class MovieFrame { Shown, Ended };

class Movie {
 public:
  // Null when the file is missing, or FFmpeg cannot open it or decode its video.
  static std::unique_ptr<Movie> Open(std::string_view path);
  ~Movie();
  Movie(const Movie&) = delete;
  Movie& operator=(const Movie&) = delete;

  // The frame size of the video.
  int Width() const;
  int Height() const;

  // Starts (or, after Stop, continues) the clock and the sound track.
  void Start();
  // Halts the clock and silences the sound track.
  void Stop();
  // Waits until the next frame is due and draws it (starting first when not
  // running). Ended once no frame is left or the stream cannot be decoded on.
  MovieFrame Update(const MovieTarget& target);

 private:
  struct Impl;
  explicit Movie(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace plat
