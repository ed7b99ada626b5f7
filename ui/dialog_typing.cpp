// Reading an entry's pages and typing them into the box.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "base/text_convert.h"
#include "engine/media/sprites.h"
#include "ui/dialog_player.h"
#include "ui/smooth_text.h"

namespace {

constexpr size_t kMaxSpeaker = 32;

bool Is(const uint8_t* character, int length, char code) {
  return length == 1 && character[0] == static_cast<uint8_t>(code);
}

}  // namespace

int CDialogPlayer::ParseEntry(const char* substituteName) {
  CGDialogChunks& text = *chunks;
  text.pages.clear();
  text.position = 0;
  bool speaker = true;
  bool star = false;
  uint32_t nameStart = 0;
  std::string name;
  DIALOGPAGEDESC page;
  int lineLength = 0;
  uint8_t character[2];
  int length = 0;
  for (;;) {
    const uint32_t at = text.position;
    if (text.ReadChar(character, &length) < 0) break;
    if (Is(character, length, '/')) break;
    if (Is(character, length, '#')) {
      if (speaker) {
        page.speaker = name;
        page.textStart = nameStart;
        page.lines = 1;
      }
      page.textEnd = static_cast<int32_t>(at) - 1;
      text.pages.push_back(page);
      page = DIALOGPAGEDESC{};
      speaker = true;
      star = false;
      name.clear();
      nameStart = text.position;
      continue;
    }
    if (speaker) {
      if (Is(character, length, ':')) {
        if (star && substituteName && *substituteName) {
          const std::string replacement = std::string(substituteName) + "*";
          text.Cut(nameStart, at - nameStart);
          text.Insert(nameStart, reinterpret_cast<const uint8_t*>(replacement.data()),
                      static_cast<uint32_t>(replacement.size()));
          name = replacement;
        }
        page.speaker = name;
        page.textStart = text.position;
        page.lines = 1;
        lineLength = 0;
        speaker = false;
        continue;
      }
      star = star || Is(character, length, '*');
      name.append(reinterpret_cast<const char*>(character), length);
      if (name.size() > kMaxSpeaker) {
        text.position = 0;
        return 0;
      }
      continue;
    }
    if (Is(character, length, '\n')) {
      ++page.lines;
      lineLength = 0;
      ++page.controlBytes;
    } else if (Is(character, length, '\r') || Is(character, length, '$') || Is(character, length, '^')) {
      ++page.controlBytes;
    } else {
      ++lineLength;
      if (length == 2) ++page.doubleByteChars;
      page.longestLine = std::max(page.longestLine, lineLength);
    }
  }
  text.position = 0;
  return 1;
}

const DIALOGPAGEDESC* CDialogPlayer::CurrentPage() const {
  if (!chunks || chunks->pages.empty()) return nullptr;
  const int last = static_cast<int>(chunks->pages.size()) - 1;
  return &chunks->pages[std::clamp(recordIndex, 0, last)];
}

int CDialogPlayer::CharWidth(const uint8_t* character, int length, int cell) {
  if (length == 2) return cell;
  const char c = static_cast<char>(character[0]);
  float factor = 0.5f;
  if (c && std::strchr("BGMRXYmw", c)) factor = 2.0f / 3.0f;
  else if (c && std::strchr("ENOPQ", c)) factor = 0.6f;
  else if (c && std::strchr("Ifijlrt", c)) factor = 1.0f / 3.0f;
  else if (c == 'W') factor = 0.8f;
  return static_cast<int>(std::lrintf(static_cast<float>(cell) * factor));
}

void CDialogPlayer::NewLine() {
  penX = lineStartX;
  penY += look.lineHeight;
  if (penY > look.textAreaHeight) {
    waiting = 1;
    penY = verticalPad;
  }
}

void CDialogPlayer::ClearPage() {
  FillSprite(panel, 0, 0, 0, 255);
  penX = lineStartX;
  penY = look.topMargin;
}

int CDialogPlayer::TypeNextChar() {
  int typed = 0;
  do {
    uint8_t character[2];
    int length = 0;
    if (!chunks || chunks->ReadChar(character, &length) < 0) {
      // A text without its '/': the next advance closes the box.
      finishing = waiting = 1;
      return 0;
    }
    if (layout == kLayoutBalloon && placePending && !Is(character, length, '/')) {
      placePending = 0;
      pastColon = 1;
      // A parse that stopped early left no record for this page: type on.
      if (recordIndex + 1 < static_cast<int>(chunks->pages.size())) {
        const DIALOGPAGEDESC& page = chunks->pages[++recordIndex];
        if (placementCallback) placementCallback(page, &anchorX, &anchorY);
        PlaceBalloon(anchorX, anchorY);
        chunks->Seek(page.textStart);
        if (chunks->ReadChar(character, &length) < 0) return 0;
      }
    }
    typed = 1;
    if (length == 1 && std::strchr("\n\r#$/:^*", character[0]) && character[0]) {
      switch (character[0]) {
        case '\n': NewLine(); continue;
        case '\r': continue;
        case '#':
          lineStartX = look.leftMargin;
          penX = look.leftMargin;
          penY += look.lineHeight;
          waiting = 1;
          placePending = 1;
          red = look.textRed;
          green = look.textGreen;
          blue = look.textBlue;
          pastColon = 0;
          continue;
        case '$':
          red = 100;
          green = 255;
          blue = 255;
          continue;
        case '^': highlight = !highlight; continue;
        case '/': Close(); return 0;
        case ':':
          if (pastColon) break;
          pastColon = 1;
          if (penX <= look.leftMargin) continue;
          lineStartX = penX + look.cell / 2;
          break;
        case '*':
          if (!pastColon) continue;
          break;
      }
    }
    if (!look.drawingOff) {
      if (highlight) DrawGlyph(character, length, penX, penY, 255, 100, 100);
      else DrawGlyph(character, length, penX, penY, red, green, blue);
    }
    penX += CharWidth(character, length, look.cell);
    if (penX > look.textAreaWidth) NewLine();
  } while (fast && !waiting && active);
  return typed;
}

void CDialogPlayer::DrawGlyph(const uint8_t* character, int length, int x, int y, int r, int g, int b) {
  char text[3] = {static_cast<char>(character[0]), length == 2 ? static_cast<char>(character[1]) : '\0', '\0'};
  ConvertText(text);
  SMOOTHTEXTDESC desc;
  desc.width = fontSize;
  desc.height = fontSize;
  std::memcpy(desc.face, fontName, Big5PrefixLength(fontName, sizeof desc.face - 1));
  desc.red = r;
  desc.green = g;
  desc.blue = b;
  if (DrawSmoothText(panel, x, y, text, &desc, look.smoothRed, look.smoothGreen, look.smoothBlue) >= 0) return;
  const int shadowRed = (r + look.schemeRed[scheme]) / 2;
  const int shadowGreen = (g + look.schemeGreen[scheme]) / 2;
  const int shadowBlue = (b + look.schemeBlue[scheme]) / 2;
  DrawConvertedText(panel, 0, x + 1, y + 1 - fontSize, text, shadowRed, shadowGreen, shadowBlue);
  DrawConvertedText(panel, 0, x, y - fontSize, text, r, g, b);
}
