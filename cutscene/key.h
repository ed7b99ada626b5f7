#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/files.h"

class SScriptStream;

// Visits a key's payload fields in the order of the binary form.
class SKeyFields {
 public:
  virtual ~SKeyFields() = default;
  virtual void Int(int32_t& value) = 0;
  virtual void Float(float& value) = 0;
  // A name in a field of size bytes, its terminator included.
  virtual void Name(std::string& value, size_t size) = 0;
};

// How the value words of the text form stand for numbers.
struct SKeyWordMap {
  // The value a word reads as; current is the field's value before.
  int32_t (*fromWord)(std::string_view word, int32_t current);
  const char* (*toWord)(int32_t value);
};

// Visits a key's value lines in the order of the text form; each call is one
// line: the label, then its values.
class SKeyLines {
 public:
  virtual ~SKeyLines() = default;
  virtual void Ints(const char* label, std::initializer_list<int32_t*> values) = 0;
  // Written as unsigned decimals; read as Ints.
  virtual void UnsignedInts(const char* label, std::initializer_list<int32_t*> values) = 0;
  virtual void Floats(const char* label, std::initializer_list<float*> values) = 0;
  // At most size - 1 characters; a longer name is refused.
  virtual void Name(const char* label, std::string& value, size_t size) = 0;
  virtual void Word(const char* label, int32_t& value, const SKeyWordMap& words) = 0;
  // Reals on a line without a label.
  virtual void Row(std::initializer_list<float*> values) = 0;
};

// One timed instruction for one actor: its type, its frame and a fixed
// payload. Keys are plain value carriers; their track acts on them.
class SKey {
 public:
  explicit SKey(int frame) : frame(frame) {}
  virtual ~SKey() = default;
  SKey(const SKey&) = delete;
  SKey& operator=(const SKey&) = delete;

  // Writes the payload: its bytes (binary 1), or one line per value group,
  // "\t\t\t\t" label "\t" values separated by tabs.
  virtual void Save(plat::ByteWriter& out, int binary);
  // Reads the payload; a number or word that does not parse leaves its field
  // as it was. 0, or -1 when the stream ends early or a name is too long.
  virtual int Load(SScriptStream& in, int binary);
  // The KEYTYPE code.
  virtual int Code() const = 0;

  int frame;

 protected:
  virtual void VisitFields(SKeyFields& fields) = 0;
  virtual void VisitLines(SKeyLines& lines) = 0;
};
