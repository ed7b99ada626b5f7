#include "cutscene/line_scanner.h"

#include <cstdlib>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

void SLineScanner::SkipBlanks() {
  size_t i = 0;
  while (i < rest_.size() && IsBlank(rest_[i])) ++i;
  rest_.remove_prefix(i);
}

std::string_view SLineScanner::NextToken() const {
  size_t n = 0;
  while (n < rest_.size() && !IsBlank(rest_[n])) ++n;
  return rest_.substr(0, n);
}

bool SLineScanner::Word(std::string& out, size_t maxLength) {
  if (stopped_) return false;
  SkipBlanks();
  std::string_view token = NextToken();
  if (token.empty() || token.size() > maxLength) {
    tooLong_ = tooLong_ || token.size() > maxLength;
    stopped_ = true;
    return false;
  }
  out.assign(token);
  rest_.remove_prefix(token.size());
  return true;
}

bool SLineScanner::Int(int32_t& out) {
  if (stopped_) return false;
  SkipBlanks();
  size_t i = 0;
  bool negative = false;
  if (i < rest_.size() && (rest_[i] == '+' || rest_[i] == '-')) negative = rest_[i++] == '-';
  size_t digitsStart = i;
  uint64_t magnitude = 0;
  for (; i < rest_.size() && rest_[i] >= '0' && rest_[i] <= '9'; ++i)
    if (magnitude <= (UINT64_MAX - 9) / 10) magnitude = magnitude * 10 + static_cast<uint64_t>(rest_[i] - '0');
  if (i == digitsStart) {
    stopped_ = true;
    return false;
  }
  uint32_t bits = static_cast<uint32_t>(negative ? 0 - magnitude : magnitude);
  out = static_cast<int32_t>(bits);
  rest_.remove_prefix(i);
  return true;
}

bool SLineScanner::Float(float& out) {
  if (stopped_) return false;
  SkipBlanks();
  std::string token(NextToken());
  char* end = nullptr;
  float value = std::strtof(token.c_str(), &end);
  size_t used = static_cast<size_t>(end - token.c_str());
  if (used == 0) {
    stopped_ = true;
    return false;
  }
  out = value;
  rest_.remove_prefix(used);
  return true;
}
