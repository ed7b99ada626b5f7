#include "platform/qel/file_load_man.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "platform/debug_output.h"
#include "platform/files.h"

namespace qmz {
namespace {

// Battle text files are a few kilobytes; anything this large is not one.
constexpr size_t kMaxFileBytes = 8u * 1024u * 1024u;

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

char Fold(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameWord(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Fold(a[i]) != Fold(b[i])) return false;
  return true;
}

// A leading '+' is allowed, as the C conversions allow it.
const char* SkipPlus(const std::string& token) {
  const char* p = token.data();
  if (token.size() > 1 && p[0] == '+' && p[1] != '-') ++p;
  return p;
}

bool ParseInt(const std::string& token, int& out) {
  const char* first = SkipPlus(token);
  const char* last = token.data() + token.size();
  auto [end, ec] = std::from_chars(first, last, out, 10);
  return ec == std::errc() && end == last;
}

bool ParseFloat(const std::string& token, float& out) {
  const char* first = SkipPlus(token);
  const char* last = token.data() + token.size();
  auto [end, ec] = std::from_chars(first, last, out, std::chars_format::general);
  return ec == std::errc() && end == last && std::isfinite(out);
}

}  // namespace

CFileLoadMan::CFileLoadMan(int lineSize, int wordSize)
    : lineSize_(static_cast<size_t>(std::max(lineSize, 2))), wordSize_(static_cast<size_t>(std::max(wordSize, 1))) {}

void CFileLoadMan::AddRemarksSymbol(const char* symbol) {
  if (symbol && *symbol) remarks_.emplace_back(symbol);
}

void CFileLoadMan::AddFileBlockItem(int id, const char* beginMark, const char* endMark, int) {
  if (!beginMark || !*beginMark || !endMark || !*endMark) return;
  blocks_.push_back({id, beginMark, endMark});
}

int CFileLoadMan::Open(const char* path) {
  lines_.clear();
  tokens_.clear();
  lineIndex_ = tokenIndex_ = 0;
  opened_ = started_ = inRecord_ = failed_ = false;
  block_ = -1;
  flipValue_ = 0;

  std::vector<uint8_t> bytes;
  if (!path || !plat::ReadWholeFile(path, bytes, kMaxFileBytes)) return 0;
  std::string line;
  size_t cutLines = 0;
  auto finishLine = [&]() {
    if (line.size() > lineSize_ - 1) {
      line.resize(lineSize_ - 1);
      ++cutLines;
    }
    lines_.push_back(std::move(line));
    line.clear();
  };
  for (uint8_t b : bytes) {
    if (b == '\n') finishLine();
    else if (b != '\r') line.push_back(static_cast<char>(b));
  }
  if (!line.empty()) finishLine();
  if (cutLines)
    plat::DebugOutput(std::string("qel: ") + path + ": " + std::to_string(cutLines) + " line(s) longer than " +
                      std::to_string(lineSize_ - 1) + " bytes cut\n");
  opened_ = true;
  return 1;
}

void CFileLoadMan::EnterLine(size_t index) {
  lineIndex_ = index;
  tokenIndex_ = 0;
  tokens_.clear();
  if (index >= lines_.size()) return;
  const std::string& line = lines_[index];
  size_t end = line.size();
  for (const std::string& remark : remarks_) end = std::min(end, line.find(remark));
  size_t i = 0;
  while (i < end) {
    while (i < end && IsBlank(line[i])) ++i;
    size_t start = i;
    while (i < end && !IsBlank(line[i])) ++i;
    if (i > start) tokens_.push_back(line.substr(start, i - start));
  }
}

int CFileLoadMan::FindBegin(const std::string& token) const {
  for (size_t i = 0; i < blocks_.size(); ++i)
    if (SameWord(token, blocks_[i].beginMark)) return static_cast<int>(i);
  return -1;
}

bool CFileLoadMan::IsEnd(const std::string& token) const {
  for (const BlockItem& b : blocks_)
    if (SameWord(token, b.endMark)) return true;
  return false;
}

bool CFileLoadMan::IsMark(const std::string& token) const { return FindBegin(token) >= 0 || IsEnd(token); }

int CFileLoadMan::Flip() {
  if (!opened_) return 0;
  if (!started_) {
    started_ = true;
    EnterLine(0);
  } else if (inRecord_) {
    // The unread rest of the record's line goes, but a mark on it still counts.
    while (tokenIndex_ < tokens_.size() && !IsMark(tokens_[tokenIndex_])) ++tokenIndex_;
  }
  inRecord_ = false;
  failed_ = false;
  for (;;) {
    if (tokenIndex_ >= tokens_.size()) {
      if (lineIndex_ + 1 >= lines_.size()) {
        EnterLine(lines_.size());
        return 0;
      }
      EnterLine(lineIndex_ + 1);
      continue;
    }
    const std::string& token = tokens_[tokenIndex_];
    int begin = FindBegin(token);
    if (begin >= 0) {
      block_ = begin;
      ++tokenIndex_;
    } else if (IsEnd(token)) {
      block_ = -1;
      ++tokenIndex_;
    } else if (block_ >= 0) {
      inRecord_ = true;
      flipValue_ = blocks_[static_cast<size_t>(block_)].id;
      return 1;
    } else {
      tokenIndex_ = tokens_.size();  // text outside every block
    }
  }
}

const std::string* CFileLoadMan::NextValue() {
  // After a failure the record reads nothing more, so a broken record cannot
  // eat into the lines of the next one.
  if (!inRecord_ || failed_) return nullptr;
  while (tokenIndex_ >= tokens_.size()) {
    if (lineIndex_ + 1 >= lines_.size()) return nullptr;
    EnterLine(lineIndex_ + 1);
  }
  if (IsMark(tokens_[tokenIndex_])) return nullptr;
  return &tokens_[tokenIndex_++];
}

CFileLoadMan& CFileLoadMan::operator>>(int& value) {
  const std::string* token = NextValue();
  if (!token || !ParseInt(*token, value)) {
    value = 0;
    failed_ = true;
  }
  return *this;
}

CFileLoadMan& CFileLoadMan::operator>>(float& value) {
  const std::string* token = NextValue();
  if (!token || !ParseFloat(*token, value)) {
    value = 0.0f;
    failed_ = true;
  }
  return *this;
}

CFileLoadMan& CFileLoadMan::operator>>(char* word) {
  const std::string* token = NextValue();
  if (!token) {
    word[0] = '\0';
    failed_ = true;
    return *this;
  }
  size_t n = std::min(token->size(), wordSize_ - 1);
  std::memcpy(word, token->data(), n);
  word[n] = '\0';
  return *this;
}

CFileLoadMan& CFileLoadMan::operator>>(std::string& word) {
  const std::string* token = NextValue();
  if (token) {
    word = *token;
  } else {
    word.clear();
    failed_ = true;
  }
  return *this;
}

}  // namespace qmz
