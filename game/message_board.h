#pragma once
#include <memory>

class CGMBoard;

// The overlay's message board: a framed picture with one line of text that
// stays until the next message replaces it.
class CMessageBoard {
 public:
  static constexpr int kShowTimer = 45;

  CMessageBoard();
  ~CMessageBoard();
  CMessageBoard(const CMessageBoard&) = delete;
  CMessageBoard& operator=(const CMessageBoard&) = delete;

  // On makes a fresh board; off removes it.
  void Show(int on);
  // White over a grey shadow one pixel to the right; nothing without a board.
  void DrawTextLine(int x, int y, const char* text);

  int timer = 0;
  std::unique_ptr<CGMBoard> board;
};

// Formats the message (any length), shows a fresh board with it and keeps
// it showing.
void ShowBoardMessage(CMessageBoard* board, const char* format, ...) __attribute__((format(printf, 2, 3)));

// The scene's name shown centred at the top on entry, fading out over its
// ticks.
class CCaptionBanner {
 public:
  CCaptionBanner();
  ~CCaptionBanner();
  CCaptionBanner(const CCaptionBanner&) = delete;
  CCaptionBanner& operator=(const CCaptionBanner&) = delete;

  // 22 pixels a byte plus 66 wide, 44 high, centred on x 600.
  void Show(const char* text, int ticks);
  int IsShowing() const { return board != nullptr; }
  // One tick of fading; the last removes the board.
  void Step();

  int remaining = 0;
  int total = 0;
  std::unique_ptr<CGMBoard> board;
};
