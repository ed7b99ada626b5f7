#include "tools/datagen/talk_writer.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "platform/files.h"

namespace datagen {
namespace {

// Numbers without an exponent, which the markup cannot read.
std::string FormatNumber(float v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.3f", static_cast<double>(v));
  std::string s = buffer;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s;
}

}  // namespace

TalkAttr TextAttr(std::string name, std::string utf8) {
  TalkAttr a;
  a.name = std::move(name);
  a.text = std::move(utf8);
  return a;
}

TalkAttr NumberAttr(std::string name, std::vector<float> numbers) {
  TalkAttr a;
  a.name = std::move(name);
  a.numbers = std::move(numbers);
  a.isNumbers = true;
  return a;
}

bool Utf8ToBig5(const std::string& utf8, std::string& big5) {
  big5.clear();
  iconv_t cd = iconv_open("CP950", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string in = utf8;
  char* inPtr = in.data();
  size_t inLeft = in.size();
  std::string out(in.size() * 2 + 16, '\0');
  char* outPtr = out.data();
  size_t outLeft = out.size();
  bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1);
  iconv_close(cd);
  if (!ok) return false;
  out.resize(out.size() - outLeft);
  big5 = std::move(out);
  return true;
}

void TalkWriter::Fail(const std::string& message) {
  if (error_.empty()) error_ = message;
}

std::string TalkWriter::Quoted(const std::string& utf8) {
  std::string big5;
  if (!Utf8ToBig5(utf8, big5)) {
    Fail("no Big5 form: " + utf8);
    return "\"\"";
  }
  if (big5.find('"') != std::string::npos) Fail("quote inside a value: " + utf8);
  return "\"" + big5 + "\"";
}

std::string TalkWriter::Attributes(const std::vector<TalkAttr>& attrs, const char* assign) {
  std::string out;
  for (const TalkAttr& a : attrs) {
    out += " " + a.name + assign;
    if (!a.isNumbers) {
      out += Quoted(a.text);
      continue;
    }
    out += "(";
    for (size_t i = 0; i < a.numbers.size(); ++i) out += (i ? " " : "") + FormatNumber(a.numbers[i]);
    out += ")";
  }
  return out;
}

void TalkWriter::Include(const std::string& fileName) { markup_ += "#include " + Quoted(fileName) + "\n"; }

void TalkWriter::Define(const std::vector<std::pair<std::string, int>>& ints, const std::vector<TalkAttr>& defaults) {
  markup_ += "<define>\n";
  for (const auto& [name, value] : ints) markup_ += "int " + Quoted(name) + " = " + std::to_string(value) + ";\n";
  for (const TalkAttr& a : defaults) markup_ += Attributes({a}, " = ").substr(1) + ";\n";
  markup_ += "</define>\n";
}

void TalkWriter::String(const std::string& name, const std::string& utf8) {
  std::string big5;
  if (!Utf8ToBig5(utf8, big5)) Fail("no Big5 form: " + utf8);
  if (big5.find('<') != std::string::npos) Fail("'<' inside a string text: " + utf8);
  markup_ += "<string " + Quoted(name) + ">" + big5 + "</string>\n";
}

void TalkWriter::Comment(const std::string& text) {
  if (text.find('>') != std::string::npos) Fail("'>' inside a comment: " + text);
  markup_ += "<!" + text + ">\n";
}

void TalkWriter::Open(const std::string& element, const std::vector<TalkAttr>& attrs) {
  markup_ += std::string(open_.size() * 2, ' ') + "<" + element + Attributes(attrs, "=") + ">";
  if (element != "li") markup_ += "\n";
  open_.push_back(element);
}

void TalkWriter::Text(const std::string& utf8) {
  std::string big5;
  if (!Utf8ToBig5(utf8, big5)) Fail("no Big5 form: " + utf8);
  if (big5.find('<') != std::string::npos) Fail("'<' inside a sentence: " + utf8);
  markup_ += big5;
}

void TalkWriter::Close() {
  if (open_.empty()) {
    Fail("Close without an open element");
    return;
  }
  std::string element = open_.back();
  open_.pop_back();
  if (element != "li") markup_ += std::string(open_.size() * 2, ' ');
  markup_ += "</" + element + ">\n";
}

void TalkWriter::Sentence(const std::vector<TalkAttr>& attrs, const std::string& utf8) {
  Open("li", attrs);
  Text(utf8);
  Close();
}

bool TalkWriter::Write(const std::string& path, std::string& error) const {
  if (!Ok()) {
    error = error_;
    return false;
  }
  if (!open_.empty()) {
    error = "element <" + open_.back() + "> not closed";
    return false;
  }
  std::filesystem::path parent = std::filesystem::path(plat::NormalizePath(path)).parent_path();
  if (!parent.empty() && !plat::CreateDirectories(parent.string())) {
    error = "cannot create " + parent.string();
    return false;
  }
  if (!plat::WriteFileAtomic(path, markup_.data(), markup_.size())) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace datagen
