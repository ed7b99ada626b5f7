#include "platform/frame_memo.h"

#include <cstring>

namespace plat::native {

bool FrameMemo::Changed(const uint8_t* first, int pitch, int rowBytes, int rows) {
  const size_t size = static_cast<size_t>(rowBytes) * static_cast<size_t>(rows);
  bool same = known_ && rowBytes == rowBytes_ && size == image_.size();
  for (int row = 0; same && row < rows; ++row)
    same = std::memcmp(image_.data() + static_cast<size_t>(row) * rowBytes, first + static_cast<ptrdiff_t>(row) * pitch,
                       static_cast<size_t>(rowBytes)) == 0;
  if (same) return false;
  image_.resize(size);
  for (int row = 0; row < rows; ++row)
    std::memcpy(image_.data() + static_cast<size_t>(row) * rowBytes, first + static_cast<ptrdiff_t>(row) * pitch,
                static_cast<size_t>(rowBytes));
  rowBytes_ = rowBytes;
  known_ = true;
  return true;
}

}  // namespace plat::native
