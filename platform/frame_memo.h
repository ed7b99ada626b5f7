#pragma once
// The last image a window was shown, so that an unchanged frame (an idle
// title, a paused menu) costs no copy to the screen.
#include <atomic>
#include <cstdint>
#include <vector>

namespace plat::native {

class FrameMemo {
 public:
  // Whether the rows differ from the image remembered last (or nothing is
  // remembered); when they do they are remembered instead.
  bool Changed(const uint8_t* first, int pitch, int rowBytes, int rows);
  // The screen lost the image (uncovered, resized): the next frame shows.
  // Safe from the thread that handles window events.
  void Forget() { known_ = false; }

 private:
  std::vector<uint8_t> image_;
  int rowBytes_ = 0;
  std::atomic<bool> known_{false};
};

}  // namespace plat::native
