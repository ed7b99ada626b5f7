#include "engine/media/model_text_lines.h"

int ReadLine(plat::ByteReader& file, std::string& line) {
  line.clear();
  if (file.Remaining() == 0) return -1;
  bool joined = false;
  while (file.Remaining() > 0) {
    char c = static_cast<char>(file.U8());
    if (c == '\n') {
      if (!joined) break;
      joined = false;
    } else if (c == '\\') {
      joined = true;
    } else if (c != '\r') {
      line += c == '\t' ? ' ' : c;
    }
  }
  return static_cast<int>(line.size());
}

int TrimLine(std::string& text) {
  for (char& c : text)
    if (c == '\t') c = ' ';
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) {
    const int all = static_cast<int>(text.size());
    text.clear();
    return all;
  }
  text.erase(text.find_last_not_of(' ') + 1);
  text.erase(0, first);
  return static_cast<int>(first);
}
