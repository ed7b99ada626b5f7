#include "ui/am_text_styles.h"

#include <cmath>
#include <numbers>

#include "engine/media/glyph_font.h"
#include "engine/media/sprites.h"

CAmShadowText::CAmShadowText(int width, int height, int id, CAmObject* parent)
    : CAmText(width, height, id, parent, nullptr) {
  SetSpacing(0, 2);
}

void CAmShadowText::DrawLineSmooth(int, const std::string&) {}

void CAmShadowText::DrawLinePlain(int y, const std::string& line) {
  if (!sprite) return;
  SetTextFont(FaceName().c_str(), fontWidth, fontHeight);
  int top = y - fontHeight;
  const char* s = line.c_str();
  DrawSpriteText(sprite, 0, 1, top, s, 0, 0, 0);
  DrawSpriteText(sprite, 0, 0, top + 1, s, 0, 0, 0);
  DrawSpriteText(sprite, 0, 1, top + 1, s, 0, 0, 0);
  DrawSpriteText(sprite, 0, 0, top, s, red, green, blue);
}

CAmFancyText::CAmFancyText(int width, int height, int id, CAmObject* parent, CAmObject* background)
    : CAmText(width, height, id, parent, background), baseColour{red, green, blue} {}

void CAmFancyText::ShowColour(const Colour& colour) {
  red = colour.red;
  green = colour.green;
  blue = colour.blue;
  MarkNotDrawn();
  Redraw(text);
}

void CAmFancyText::SetPulse(int flag) {
  pulsing = flag;
  if (flag) pulseCount = 1;
  ShowColour(flag ? firstPulse : baseColour);
}

void CAmFancyText::OnTick(int steps) {
  if (pulsing) {
    int periods = timer.Tick();
    if (periods > 0) {
      Colour colour = firstPulse;
      for (int i = 0; i < periods; ++i) {
        ++pulseCount;
        double s = std::sin(pulseCount * std::numbers::pi * 0.1);
        auto mix = [s](int from, int to) { return from + static_cast<int>(s * (to - from)); };
        colour = {mix(firstPulse.red, secondPulse.red), mix(firstPulse.green, secondPulse.green),
                  mix(firstPulse.blue, secondPulse.blue)};
        if (pulseCount >= 10) pulseCount = 0;
      }
      ShowColour(colour);
    }
  }
  CAmText::OnTick(steps);
}
