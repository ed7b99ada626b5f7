#include "ui/dialog_chunks.h"

#include <algorithm>

int CGDialogChunks::ReadChar(uint8_t out[2], int* length) {
  *length = 0;
  if (position >= Size()) return -1;
  out[0] = buffer[position++];
  *length = 1;
  if (out[0] >= 0x80 && position < Size()) {
    out[1] = buffer[position++];
    *length = 2;
  }
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
