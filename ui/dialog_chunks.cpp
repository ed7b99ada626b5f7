#include "ui/dialog_chunks.h"

#include <algorithm>
#include <string_view>

#include "platform/big5.h"

int CGDialogChunks::ReadChar(uint8_t out[2], int* length) {
  *length = 0;
  if (position >= Size()) return -1;
  const std::string_view text(reinterpret_cast<const char*>(buffer.data()), buffer.size());
  const size_t n = plat::Big5CharLength(text, position);
  std::copy_n(buffer.begin() + position, n, out);
  position += static_cast<uint32_t>(n);
  *length = static_cast<int>(n);
  return 0;
}

int CGDialogChunks::Seek(uint32_t at) {
  if (at >= Size()) return 0;
  position = at;
  return 1;
}

void CGDialogChunks::Insert(uint32_t at, const uint8_t* bytes, uint32_t n) {
  if (at > Size()) at = Size();
  buffer.insert(buffer.begin() + at, bytes, bytes + n);
  if (position >= at) position += n;
}

void CGDialogChunks::Cut(uint32_t at, uint32_t n) {
  if (at >= Size()) return;
  n = std::min(n, Size() - at);
  buffer.erase(buffer.begin() + at, buffer.begin() + at + n);
  if (position >= at + n) position -= n;
  else if (position > at) position = at;
}
