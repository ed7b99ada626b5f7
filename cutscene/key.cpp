#include "cutscene/key.h"

#include <charconv>

#include "cutscene/line_scanner.h"
#include "cutscene/script_stream.h"

namespace {

class BinaryFieldReader : public SKeyFields {
 public:
  explicit BinaryFieldReader(plat::ByteReader& reader) : reader_(reader) {}
  void Int(int32_t& value) override { value = reader_.I32(); }
  void Float(float& value) override { value = reader_.F32(); }
  void Name(std::string& value, size_t size) override { value = ReadNameField(reader_, size); }

 private:
  plat::ByteReader& reader_;
};

class BinaryFieldWriter : public SKeyFields {
 public:
  explicit BinaryFieldWriter(plat::ByteWriter& writer) : writer_(writer) {}
  void Int(int32_t& value) override { writer_.I32(value); }
  void Float(float& value) override { writer_.F32(value); }
  void Name(std::string& value, size_t size) override { writer_.FixedString(value, size); }

 private:
  plat::ByteWriter& writer_;
};

class TextLineReader : public SKeyLines {
 public:
  explicit TextLineReader(SScriptStream& in) : in_(in) {}

  void Ints(const char*, std::initializer_list<int32_t*> values) override {
    SLineScanner scan = Next();
    for (int32_t* v : values) scan.Int(*v);
  }
  void UnsignedInts(const char* label, std::initializer_list<int32_t*> values) override { Ints(label, values); }
  void Floats(const char*, std::initializer_list<float*> values) override {
    SLineScanner scan = Next();
    for (float* v : values) scan.Float(*v);
  }
  void Name(const char*, std::string& value, size_t size) override {
    SLineScanner scan = Next();
    std::string word;
    if (scan.Word(word, size - 1)) value = word;
    if (scan.TooLong()) failed_ = true;
  }
  void Word(const char*, int32_t& value, const SKeyWordMap& words) override {
    SLineScanner scan = Next();
    std::string word;
    if (scan.Word(word, SScriptStream::kMaxLineLength)) value = words.fromWord(word, value);
  }
  void Row(std::initializer_list<float*> values) override {
    std::string line;
    if (!in_.ReadLine(line)) failed_ = true;
    SLineScanner scan(line);
    for (float* v : values) scan.Float(*v);
  }

  bool Failed() const { return failed_; }

 private:
  // The next line, its label read and not compared with anything.
  SLineScanner Next() {
    if (!in_.ReadLine(line_)) failed_ = true;
    SLineScanner scan(line_);
    std::string label;
    scan.Word(label, SScriptStream::kMaxLineLength);
    return scan;
  }

  SScriptStream& in_;
  std::string line_;
  bool failed_ = false;
};

class TextLineWriter : public SKeyLines {
 public:
  explicit TextLineWriter(plat::ByteWriter& out) : out_(out) {}

  void Ints(const char* label, std::initializer_list<int32_t*> values) override {
    Begin(label);
    for (int32_t* v : values) Value(std::to_string(*v));
    End();
  }
  void UnsignedInts(const char* label, std::initializer_list<int32_t*> values) override {
    Begin(label);
    for (int32_t* v : values) Value(std::to_string(static_cast<uint32_t>(*v)));
    End();
  }
  void Floats(const char* label, std::initializer_list<float*> values) override {
    Begin(label);
    for (float* v : values) Value(FloatText(*v));
    End();
  }
  void Name(const char* label, std::string& value, size_t) override {
    Begin(label);
    Value(value);
    End();
  }
  void Word(const char* label, int32_t& value, const SKeyWordMap& words) override {
    Begin(label);
    Value(words.toWord(value));
    End();
  }
  void Row(std::initializer_list<float*> values) override {
    line_ = "\t\t\t\t";
    for (float* v : values) Value(FloatText(*v));
    End();
  }

 private:
  static std::string FloatText(float v) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, result.ptr);
  }
  void Begin(const char* label) { line_ = std::string("\t\t\t\t") + label; }
  void Value(const std::string& text) { line_ += "\t" + text; }
  void End() {
    line_ += "\n";
    out_.Bytes(line_.data(), line_.size());
  }

  plat::ByteWriter& out_;
  std::string line_;
};

}  // namespace

void SKey::Save(plat::ByteWriter& out, int binary) {
  if (binary) {
    BinaryFieldWriter writer(out);
    VisitFields(writer);
  } else {
    TextLineWriter writer(out);
    VisitLines(writer);
  }
}

int SKey::Load(SScriptStream& in, int binary) {
  if (binary) {
    BinaryFieldReader reader(in.Binary());
    VisitFields(reader);
    return in.Binary().Failed() ? -1 : 0;
  }
  TextLineReader reader(in);
  VisitLines(reader);
  return reader.Failed() ? -1 : 0;
}
