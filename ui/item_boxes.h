#pragma once
#include <array>
#include <cstdint>

#include "ui/am_wnd.h"

class CAmText;
struct ITEMDESC;

// What the game core hands the item box: up to three items (a null record
// ends the list) with their counts, and money (0 for none).
struct ITEMINFODESC {
  std::array<ITEMDESC*, 3> items{};
  std::array<int32_t, 3> counts{};
  int32_t money = 0;
};

// A small window over the running game that fades in over 10 ticks, stays
// and fades out until it closes itself at tick 50.
class CTwFadingBox : public CAmWnd {
 public:
  static constexpr int kLifetime = 50;

  CTwFadingBox(const char* imageName, int width, int height, CAmObject* owner);

  // The opacity at a tick: 0.1 per tick up to 10, 1 to 40, then down to 0 at 50.
  static float Opacity(int clock);
  void OnTick(int steps) override;

  int clock = 0;  // ticks

 protected:
  // Where it stands, its layer, and transparent until the first tick.
  void Place(int x, int y);

 private:
  int closing_ = 0;
};

// What the player just received: "name x count" lines and a money line.
class TwGetItemInfoDlg : public CTwFadingBox {
 public:
  static constexpr int kWidth = 240;
  static constexpr int kHeight = 144;
  static constexpr int kFullyShown = 20;

  TwGetItemInfoDlg(const ITEMINFODESC& info, CAmObject* owner);
  // The screen manager forgets the box, whoever deletes it.
  ~TwGetItemInfoDlg() override;

  // Fully shown again (30 ticks left) with the new record's lines.
  void Refill(const ITEMINFODESC& info);

  std::array<CAmText*, 4> lines{};  // made on first use

 private:
  void Fill(const ITEMINFODESC& info);
  void SetLine(int index, const char* text);
};

// The icon in the top right corner announcing a new hint.
class TwGetNewHintDlg : public CTwFadingBox {
 public:
  static constexpr int kSide = 48;

  explicit TwGetNewHintDlg(CAmObject* owner);
};
