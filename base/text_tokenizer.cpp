#include "base/text_tokenizer.h"

#include <strings.h>

#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/files.h"

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
bool IsCommentStart(char c) { return c == '#' || c == ';'; }

// Descriptors only tell an open tokenizer from a closed one; any
// non-negative value will do.
constexpr int kOpenDescriptor = 3;

}  // namespace

CTextTokenizer::CTextTokenizer(const char* fileName) {
  if (fileName) Open(fileName);
}

CTextTokenizer::~CTextTokenizer() { Close(); }

int CTextTokenizer::Open(const char* fileName) {
  if (descriptor_ >= 0) Close();
  if (!fileName) return -1;
  file_ = plat::File::OpenRead(fileName);
  if (!file_) return -1;
  descriptor_ = kOpenDescriptor;
  buffer_.assign(kBufferSize + 1, 0);
  consumed_ = 0;
  position_ = 0;
  Fill(0);
  return descriptor_;
}

int CTextTokenizer::Close() {
  buffer_.clear();
  buffer_.shrink_to_fit();
  position_ = valid_ = 0;
  consumed_ = 0;
  endOfFile_ = 1;
  if (descriptor_ < 0) return -1;
  file_.reset();
  descriptor_ = -1;
  return 0;
}

void CTextTokenizer::Fill(int keep) {
  size_t read = file_ ? file_->Read(buffer_.data() + keep, static_cast<size_t>(kBufferSize - keep)) : 0;
  valid_ = keep + static_cast<int>(read);
  endOfFile_ = valid_ < kBufferSize ? 1 : 0;
  buffer_[valid_] = 0;
}

int CTextTokenizer::Refill() {
  const int unread = valid_ - position_;
  if (unread >= kLookAhead) return valid_;
  if (endOfFile_) return unread;
  std::memmove(buffer_.data(), buffer_.data() + position_, static_cast<size_t>(unread));
  consumed_ += position_;
  position_ = 0;
  Fill(unread);
  return valid_;
}

int CTextTokenizer::SkipLine(int state) {
  int skipped = 0;
  while (!AtEnd()) {
    const char c = buffer_[position_];
    if (state == 1) {
      if (IsCommentStart(c)) {
        state = 0;
      } else if (!IsBlank(c)) {
        break;
      }
    } else if (IsLineEnd(c)) {
      state = 1;
    }
    ++position_;
    ++skipped;
    Refill();
  }
  return skipped > 0 ? skipped : Refill();
}

int CTextTokenizer::SkipWord() {
  int skipped = 0;
  while (!AtEnd() && !IsBlank(buffer_[position_])) ++position_, ++skipped;
  while (!AtEnd() && IsBlank(buffer_[position_])) ++position_, ++skipped;
  if (!AtEnd() && IsCommentStart(buffer_[position_])) skipped += SkipLine(0);
  return skipped;
}

int CTextTokenizer::SkipControls() {
  int skipped = 0;
  while (!AtEnd() && static_cast<unsigned char>(buffer_[position_]) < 32) ++position_, ++skipped;
  return skipped;
}

int CTextTokenizer::Skip(int mode) {
  switch (mode) {
    case 0: return SkipLine(0);
    case 1: return SkipControls();
    case 2: return SkipWord();
    default: return 0;
  }
}

int CTextTokenizer::ReadShort(int16_t* value, int mode) {
  int32_t wide = 0;
  int skipped = ReadInt(&wide, mode);
  if (value) *value = static_cast<int16_t>(wide);
  return skipped;
}

int CTextTokenizer::ReadInt(int32_t* value, int mode) {
  long parsed = std::strtol(Cursor(), nullptr, 10);
  if (parsed > INT_MAX) parsed = INT_MAX;
  if (parsed < INT_MIN) parsed = INT_MIN;
  if (value) *value = static_cast<int32_t>(parsed);
  return Skip(mode);
}

int CTextTokenizer::ReadFloat(float* value, int mode) {
  float parsed = std::strtof(Cursor(), nullptr);
  if (value) *value = parsed;
  return Skip(mode);
}

template <typename T>
int CTextTokenizer::ReadRow(T* values, int mode, int n, int (CTextTokenizer::*readOne)(T*, int)) {
  if (!values || n < 1) return 0;
  int skipped = 0;
  for (int i = 0; i < n; ++i) {
    if (i > 0) skipped += SkipWord();
    // Every 13 values, so that a long row never runs past the look-ahead.
    if (i > 0 && i % 13 == 0) Refill();
    skipped += (this->*readOne)(&values[i], -1);
  }
  return skipped + Skip(mode);
}

int CTextTokenizer::ReadInts(int32_t* values, int mode, int n) {
  return ReadRow(values, mode, n, &CTextTokenizer::ReadInt);
}

int CTextTokenizer::ReadFloats(float* values, int mode, int n) {
  return ReadRow(values, mode, n, &CTextTokenizer::ReadFloat);
}

int CTextTokenizer::ReadWord(char* word, int mode) {
  if (!word) return 0;
  int length = 0;
  while (length < kWordSize - 1 && position_ + length < valid_ && !IsBlank(buffer_[position_ + length])) {
    word[length] = buffer_[position_ + length];
    ++length;
  }
  word[length] = 0;
  if (mode == 3) return length;
  position_ += length;
  return length + Skip(mode);
}

int CTextTokenizer::FindKeyword(const char* keyword, int mode) {
  if (!keyword) return -1;
  const size_t length = std::strlen(keyword);
  char word[kWordSize];
  int total = 0;
  for (;;) {
    Refill();
    if (AtEnd()) return -1;
    const int64_t before = Tell();
    if (mode != 0) total += SkipLine(0);
    total += ReadWord(word, mode);
    if (word[0] != 0 && strncasecmp(word, keyword, length) == 0) return total;
    if (Tell() == before) return -1;
  }
}
