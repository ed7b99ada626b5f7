#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The game's text is Big5 (code page 950); fonts need Unicode. This is the one
// place where the two meet.
namespace plat {

constexpr char32_t kReplacementChar = 0xFFFD;

// A byte with the high bit set begins a two-byte character, as everywhere in
// the game's own text walking; a pair that maps to nothing, or a lead byte at
// the very end, becomes U+FFFD.
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
