#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The game's text is Big5 (code page 950); fonts need Unicode. This is the one
// place where the two meet.
namespace plat {

constexpr char32_t kReplacementChar = 0xFFFD;

// The lowest byte that leads a two-byte character as the game walks its text
// (the high bit set), and the lowest of the standard Big5 rows.
constexpr unsigned char kBig5LeastLead = 0x80;
constexpr unsigned char kBig5StandardLead = 0xA1;

constexpr bool IsBig5Lead(char byte, unsigned char leastLead = kBig5LeastLead) {
  return static_cast<unsigned char>(byte) >= leastLead;
}

// Bytes of the character that starts at `at`: 2 for a lead byte with a byte
// after it, else 1, so a lead byte at the very end reads alone; 0 at or past
// the end. Any byte may trail.
constexpr size_t Big5CharLength(std::string_view text, size_t at, unsigned char leastLead = kBig5LeastLead) {
  if (at >= text.size()) return 0;
  return IsBig5Lead(text[at], leastLead) && at + 1 < text.size() ? 2 : 1;
}

// A pair that maps to nothing, or a lead byte at the very end, becomes U+FFFD.
std::u32string Big5ToUtf32(std::string_view text);
std::string Big5ToUtf8(std::string_view text);
std::string Utf32ToUtf8(std::u32string_view text);
// Typed text as the game reads it: characters Big5 lacks, and malformed
// UTF-8, are dropped.
std::string Utf8ToBig5(std::string_view text);

// One character as the glyph calls take it: a 16-bit code with the lead byte
// high (0xA440), or a single byte. 0 when it maps to nothing.
char32_t Big5CharToUnicode(uint32_t code);

}  // namespace plat
