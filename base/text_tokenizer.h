#pragma once
#include <cstdint>
#include <memory>
#include <vector>

namespace plat {
class File;
}

// Reads the game's text data files through one fixed buffer: a cursor with
// readers for integers, floats and words, skipping of blanks and of comment
// lines ('#' or ';' where a token could start, to the end of the line), and a
// keyword search. A token is a run of bytes above the space character.
//
// The buffer is topped up only when fewer than kLookAhead unread bytes
// remain, so readers may look that far ahead; a longer token is cut. A zero
// byte always follows the valid data and no scan ever passes it.
//
// The last argument of every reader is a skip mode, applied after the value:
//   0  the rest of the line, then blank and comment lines (SkipLine(0))
//   1  control bytes only (below 32; a space stops it)
//   2  the rest of the token and the blanks after it; a comment found there
//      is skipped with the lines after it as in mode 0 (SkipWord)
//   3  (ReadWord only) peek: the cursor is put back
//   other values skip nothing.
class CTextTokenizer {
 public:
  static constexpr int kBufferSize = 10240;
  static constexpr int kLookAhead = 1024;
  static constexpr int kWordSize = 64;  // ReadWord's buffer, terminator included

  // Opens the file when a name is given.
  explicit CTextTokenizer(const char* fileName = nullptr);
  ~CTextTokenizer();
  CTextTokenizer(const CTextTokenizer&) = delete;
  CTextTokenizer& operator=(const CTextTokenizer&) = delete;

  // Closes an open file, opens the named one (case-insensitive, '\' paths)
  // and fills the buffer. A non-negative descriptor, or -1 on failure.
  int Open(const char* fileName);
  // Frees the buffer; 0, or -1 when nothing was open.
  int Close();

  // Tops the buffer up when fewer than kLookAhead unread bytes remain and the
  // file has more. The valid-byte count when nothing needed doing, the unread
  // byte count at the end of the file (0 once everything is consumed), else
  // the new valid-byte count.
  int Refill();

  // state 1: between tokens (blanks skipped, a comment switches to state 0,
  // anything else stops); state 0: inside a line (everything skipped, a line
  // end switches to state 1). The bytes skipped, or Refill's answer when none.
  int SkipLine(int state);
  // The rest of the token and the blanks after it (and a comment there); the
  // bytes skipped.
  int SkipWord();

  // Each converts the text at the cursor with the standard conversions (a
  // non-number gives 0), stores it and then skips by the mode: only the skip
  // moves the cursor. They answer the skip count.
  int ReadShort(int16_t* value, int mode);
  int ReadInt(int32_t* value, int mode);
  int ReadFloat(float* value, int mode);
  // n values of a row, skipping in mode 2 between them and by mode after the
  // last; nothing for n below 1.
  int ReadInts(int32_t* values, int mode, int n);
  int ReadFloats(float* values, int mode, int n);
  // Copies at most 63 bytes above 32 into word (64 bytes) and terminates it.
  // Mode 3 answers the length and leaves the cursor; otherwise the cursor
  // passes the copied bytes, the skip follows, and the length plus the skip
  // count is answered.
  int ReadWord(char* word, int mode);
  // Compares keyword, case-insensitively over its own length, with successive
  // words: with mode 0 the first word of every line (each read in mode 0),
  // with another mode the word after the rest of each line (read in that
  // mode). On a match the cursor stands behind the word with its skip done
  // and the sum of every skip is answered; -1 when the data ends first.
  int FindKeyword(const char* keyword, int mode);

  int IsOpen() const { return descriptor_ >= 0 ? 1 : 0; }
  // The byte at the cursor (zero at the end of the valid data).
  const char* Cursor() const { return buffer_.empty() ? "" : buffer_.data() + position_; }
  // The file offset of the cursor.
  int64_t Tell() const { return consumed_ + position_; }

 private:
  int Skip(int mode);
  int SkipControls();
  template <typename T>
  int ReadRow(T* values, int mode, int n, int (CTextTokenizer::*readOne)(T*, int));
  int AtEnd() const { return position_ >= valid_ ? 1 : 0; }
  // Reads into the buffer behind its first keep bytes; sets valid_ and the terminator.
  void Fill(int keep);

  int descriptor_ = -1;
  std::unique_ptr<plat::File> file_;
  std::vector<char> buffer_;  // kBufferSize + the terminator
  int64_t consumed_ = 0;      // file offset of the buffer's first byte
  int position_ = 0;          // the cursor within the buffer
  int valid_ = 0;
  int endOfFile_ = 1;  // the last read did not fill the buffer
};
