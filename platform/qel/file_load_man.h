#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace qmz {

// Reader of the block-structured text files of the battle. A file holds blocks
// between a begin mark and an end mark; inside a block every non-empty line
// starts a record. Tokens are runs of non-blank bytes; marks are whole tokens
// compared without regard to case; a remark symbol cuts the rest of its line.
//
//   CFileLoadMan file(1024, 128);
//   file.AddRemarksSymbol("//");
//   file.AddFileBlockItem(210, "#BEGIN_STY", "#END_STY", 0);
//   if (file.Open(path))
//     while (file.Flip()) { file >> name >> a >> b; ... }
//
// Values are read with >> from the record's first token on, across line ends
// but never across a mark. A value that is missing or not a decimal number
// yields 0 and sets the failure flag, which stays set until the next Flip;
// meanwhile every further read of the record yields 0 (or an empty word).
// Remarks and blocks may be registered before or after Open, as long as it is
// before the first Flip.
class CFileLoadMan {
 public:
  // Lines longer than lineSize - 1 bytes are cut there; words read into a
  // char buffer take at most wordSize - 1 bytes plus the terminating zero.
  CFileLoadMan(int lineSize, int wordSize);

  void AddRemarksSymbol(const char* symbol);
  // No flag has a meaning yet; the battle passes 0.
  void AddFileBlockItem(int id, const char* beginMark, const char* endMark, int flags);

  // Non-zero when the file was read; the cursor then stands before its first line.
  int Open(const char* path);
  // Moves to the next record, leaving what was not read of the current
  // record's last line; 0 at the end of the file.
  int Flip();
  // The block id of the current record.
  int GetFlipValue() const { return flipValue_; }
  // Set by a failed read of the current record.
  bool Failed() const { return failed_; }
  // After Flip answered 0: the file ended inside a block, its end mark cut off.
  bool EndedInsideBlock() const { return started_ && lineIndex_ >= lines_.size() && block_ >= 0; }

  CFileLoadMan& operator>>(int& value);
  CFileLoadMan& operator>>(float& value);
  // The buffer holds at least the word size.
  CFileLoadMan& operator>>(char* word);
  // The whole word.
  CFileLoadMan& operator>>(std::string& word);

 private:
  struct BlockItem {
    int id;
    std::string beginMark;
    std::string endMark;
  };

  void EnterLine(size_t index);
  int FindBegin(const std::string& token) const;
  bool IsEnd(const std::string& token) const;
  bool IsMark(const std::string& token) const;
  // The next token of the record, consumed; null at a mark or the end.
  const std::string* NextValue();

  size_t lineSize_;
  size_t wordSize_;
  std::vector<std::string> remarks_;
  std::vector<BlockItem> blocks_;
  std::vector<std::string> lines_;
  std::vector<std::string> tokens_;  // of the line at lineIndex_
  size_t lineIndex_ = 0;
  size_t tokenIndex_ = 0;
  bool opened_ = false;
  bool started_ = false;
  bool inRecord_ = false;
  int block_ = -1;  // index into blocks_ of the block the cursor is in
  int flipValue_ = 0;
  bool failed_ = false;
};

}  // namespace qmz
