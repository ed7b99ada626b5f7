#include "platform/big5.h"

#include <iconv.h>

#include <cerrno>

namespace plat {
namespace {

// iconv descriptors carry state, so each thread keeps its own.
class Big5Decoder {
 public:
  Big5Decoder() : cd_(iconv_open("UTF-32LE", "CP950")) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) cd_ = iconv_open("UTF-32LE", "BIG5");
  }
  ~Big5Decoder() {
    if (Usable()) iconv_close(cd_);
  }
  Big5Decoder(const Big5Decoder&) = delete;
  Big5Decoder& operator=(const Big5Decoder&) = delete;

  // One character of one or two bytes; 0 when it does not map to exactly one.
  char32_t Decode(const char* bytes, size_t count) {
    if (!Usable()) return 0;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    unsigned char out[8] = {};
    char* in = const_cast<char*>(bytes);
    size_t inLeft = count;
    char* outPtr = reinterpret_cast<char*>(out);
    size_t outLeft = sizeof(out);
    if (iconv(cd_, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) return 0;
    if (inLeft != 0 || sizeof(out) - outLeft != 4) return 0;
    return static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | static_cast<uint32_t>(out[3]) << 24);
  }

 private:
  bool Usable() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t cd_;
};

Big5Decoder& Decoder() {
  thread_local Big5Decoder decoder;
  return decoder;
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
  for (size_t i = 0; i < text.size();) {
    auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      out += static_cast<char32_t>(byte);
      ++i;
      continue;
    }
    if (i + 1 >= text.size()) {
      out += kReplacementChar;
      break;
    }
    char32_t c = Decoder().Decode(text.data() + i, 2);
    out += c != 0 ? c : kReplacementChar;
    i += 2;
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

char32_t Big5CharToUnicode(uint32_t code) {
  if (code < 0x80) return static_cast<char32_t>(code);
  char bytes[2];
  if (code <= 0xFF) {
    bytes[0] = static_cast<char>(code);
    return Decoder().Decode(bytes, 1);
  }
  if (code > 0xFFFF || (code >> 8) < 0x80) return 0;
  bytes[0] = static_cast<char>(code >> 8);
  bytes[1] = static_cast<char>(code & 0xFF);
  return Decoder().Decode(bytes, 2);
}

}  // namespace plat
