#include "platform/big5.h"

#include <iconv.h>

#include <cerrno>

namespace plat {
namespace {

// iconv descriptors carry state, so each thread keeps its own.
class Converter {
 public:
  // The fallback pair serves where iconv lacks the first.
  Converter(const char* to, const char* from, const char* fallbackTo, const char* fallbackFrom)
      : cd_(iconv_open(to, from)) {
    if (!Usable()) cd_ = iconv_open(fallbackTo, fallbackFrom);
  }
  ~Converter() {
    if (Usable()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts all of the input; the output's byte count, or 0 when any of it
  // does not convert or it does not fit.
  size_t Convert(const char* bytes, size_t count, unsigned char* out, size_t room) {
    if (!Usable()) return 0;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes);
    size_t inLeft = count;
    char* outPtr = reinterpret_cast<char*>(out);
    size_t outLeft = room;
    if (iconv(cd_, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) return 0;
    return room - outLeft;
  }

 private:
  bool Usable() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t cd_;
};

// One character of one or two Big5 bytes; 0 when it does not map to exactly one.
char32_t DecodeBig5(const char* bytes, size_t count) {
  thread_local Converter decoder("UTF-32LE", "CP950", "UTF-32LE", "BIG5");
  unsigned char out[8] = {};
  if (decoder.Convert(bytes, count, out, sizeof(out)) != 4) return 0;
  return static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | static_cast<uint32_t>(out[3]) << 24);
}

// The Big5 bytes of one character; 0 bytes when Big5 lacks it.
size_t EncodeBig5(char32_t c, unsigned char out[2]) {
  thread_local Converter encoder("CP950", "UTF-32LE", "BIG5", "UTF-32LE");
  const char in[4] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8 & 0xFF), static_cast<char>(c >> 16 & 0xFF),
                      static_cast<char>(c >> 24 & 0xFF)};
  unsigned char bytes[8] = {};
  size_t n = encoder.Convert(in, sizeof(in), bytes, sizeof(bytes));
  // Only a lead byte with the high bit and a plain single byte read back as typed.
  bool shaped = (n == 1 && bytes[0] < 0x80) || (n == 2 && bytes[0] >= 0x81);
  if (!shaped) return 0;
  out[0] = bytes[0];
  out[1] = bytes[1];
  return n;
}

// The next code point of UTF-8 text at i, advancing i; 0 for a malformed
// sequence (only its first byte is passed over).
char32_t NextUtf8(std::string_view text, size_t& i) {
  auto first = static_cast<unsigned char>(text[i++]);
  if (first < 0x80) return first;
  size_t length = 0;
  if (first >= 0xC2 && first < 0xE0) length = 2;
  else if (first >= 0xE0 && first < 0xF0) length = 3;
  else if (first >= 0xF0 && first < 0xF5) length = 4;
  if (length == 0 || i + length - 1 > text.size()) return 0;
  char32_t c = first & (0x7F >> length);
  for (size_t k = 0; k + 1 < length; ++k) {
    auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return 0;
    c = c << 6 | (next & 0x3F);
  }
  static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kLeast[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  i += length - 1;
  return c;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacementChar;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::u32string Big5ToUtf32(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (size_t i = 0, n = 0; i < text.size(); i += n) {
    n = Big5CharLength(text, i);
    if (n == 2) {
      char32_t c = DecodeBig5(text.data() + i, 2);
      out += c != 0 ? c : kReplacementChar;
    } else {
      out += IsBig5Lead(text[i]) ? kReplacementChar : static_cast<char32_t>(text[i]);
    }
  }
  return out;
}

std::string Utf32ToUtf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (char32_t c : text) AppendUtf8(out, c);
  return out;
}

std::string Big5ToUtf8(std::string_view text) { return Utf32ToUtf8(Big5ToUtf32(text)); }

std::string Utf8ToBig5(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t c = NextUtf8(text, i);
    if (c == 0) continue;
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    unsigned char bytes[2];
    size_t n = EncodeBig5(c, bytes);
    out.append(reinterpret_cast<const char*>(bytes), n);
  }
  return out;
}

char32_t Big5CharToUnicode(uint32_t code) {
  if (code < 0x80) return static_cast<char32_t>(code);
  char bytes[2];
  if (code <= 0xFF) {
    bytes[0] = static_cast<char>(code);
    return DecodeBig5(bytes, 1);
  }
  if (code > 0xFFFF || (code >> 8) < 0x80) return 0;
  bytes[0] = static_cast<char>(code >> 8);
  bytes[1] = static_cast<char>(code & 0xFF);
  return DecodeBig5(bytes, 2);
}

}  // namespace plat
