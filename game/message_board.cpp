#include "game/message_board.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/media/sprites.h"
#include "ui/gm_board.h"
#include "ui/menu_agency.h"

namespace {

constexpr char kBoardImage[] = "insertcd2";
constexpr int kBoardWidth = 240, kBoardHeight = 120;
constexpr int kBoardX = 520, kBoardY = 174, kBoardLayer = 18;
constexpr int kBoardTextX = 20, kBoardTextY = 36;

constexpr int kCaptionByteWidth = 22, kCaptionMargin = 66, kCaptionHeight = 44;
constexpr int kCaptionCentreX = 600, kCaptionLayer = 20;
constexpr int kCaptionTextX = 1, kCaptionTextY = 33;

constexpr int kOverlayGroup = 0;

std::unique_ptr<CGMBoard> MakeBoard(const char* image, int width, int height, int x, int y, int layer) {
  auto board = std::make_unique<CGMBoard>(image, width, height, kOverlayGroup);
  board->AttachTo(&g_menuAgency);
  board->Move(x, y);
  board->SetDepth(x, y, layer);
  return board;
}

std::string Format(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  const int size = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (size <= 0) return {};
  std::string text(static_cast<size_t>(size) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, args);
  text.resize(static_cast<size_t>(size));
  return text;
}

}  // namespace

CMessageBoard::CMessageBoard() = default;
CMessageBoard::~CMessageBoard() = default;

void CMessageBoard::Show(int on) {
  board.reset();
  if (!on) return;
  board = MakeBoard(kBoardImage, kBoardWidth, kBoardHeight, kBoardX, kBoardY, kBoardLayer);
  timer = kShowTimer;
}

void CMessageBoard::DrawTextLine(int x, int y, const char* text) {
  if (!board || !text) return;
  board->DrawText(x + 1, y, text, 100, 100, 100);
  board->DrawText(x, y, text, 255, 255, 255);
}

void ShowBoardMessage(CMessageBoard* board, const char* format, ...) {
  if (!board || !format) return;
  va_list args;
  va_start(args, format);
  const std::string text = Format(format, args);
  va_end(args);
  board->Show(1);
  board->DrawTextLine(kBoardTextX, kBoardTextY, text.c_str());
  board->board->Show(1);
}

CCaptionBanner::CCaptionBanner() = default;
CCaptionBanner::~CCaptionBanner() = default;

void CCaptionBanner::Show(const char* text, int ticks) {
  board.reset();
  if (!text) text = "";
  const int width = kCaptionByteWidth * static_cast<int>(std::strlen(text)) + kCaptionMargin;
  board = MakeBoard(nullptr, width, kCaptionHeight, kCaptionCentreX - width / 2, 0, kCaptionLayer);
  board->DrawText(kCaptionTextX, kCaptionTextY, text, 255, 255, 255);
  board->Show(1);
  remaining = total = ticks;
}

void CCaptionBanner::Step() {
  if (!board) return;
  if (remaining-- <= 1) {
    board.reset();
    return;
  }
  const float alpha = total > 0 ? static_cast<float>(remaining) / static_cast<float>(total) : 0.0f;
  if (board->sprite) SetSpriteAlpha(board->sprite, alpha);
  if (board->textSprite) SetSpriteAlpha(board->textSprite, alpha);
}
