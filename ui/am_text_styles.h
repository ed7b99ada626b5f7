#pragma once
#include "ui/am_text.h"

// A plain label with a one-pixel black shadow below and to the right; it
// is never smoothed. Characters touch (spacing 0), lines 2 apart.
class CAmShadowText : public CAmText {
 public:
  CAmShadowText(int width, int height, int id, CAmObject* parent);

  void DrawLineSmooth(int y, const std::string& line) override;
  void DrawLinePlain(int y, const std::string& line) override;
};

// A label whose colour can pulse between red and violet, one pulse every
// ten periods of its 10-per-second timer.
class CAmFancyText : public CAmText {
 public:
  struct Colour {
    int red, green, blue;
  };

  CAmFancyText(int width, int height, int id, CAmObject* parent, CAmObject* background);

  // On: the first pulse colour and the pulse begins; off: back to the colour it was made with.
  void SetPulse(int flag);
  void OnTick(int steps) override;

  int pulsing = 0;
  Colour baseColour;
  Colour firstPulse{255, 0, 0};
  Colour secondPulse{100, 0, 255};
  int pulseCount = 0;

 private:
  void ShowColour(const Colour& colour);
};
