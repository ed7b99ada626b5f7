#include "ui/item_boxes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "database/game_resource.h"
#include "database/records.h"
#include "ui/am_text.h"
#include "ui/screen_manager.h"

namespace {

constexpr int kFadeInEnd = 10;
constexpr int kShownEnd = 40;
constexpr int kBoxLayer = 10;
constexpr int kBoxTop = 100;
constexpr int kHintX = 580;
constexpr int kHintY = 20;
constexpr int kScreenCentre = 320;
constexpr int kLineX = 45;
constexpr int kLineY = 52;
constexpr int kLineStep = 24;
constexpr int kLineWidth = 160;
constexpr int kLineHeight = 22;
constexpr int kLineFont = 20;
constexpr int kMoneyUnitMessage = 51;
constexpr int kMoneyMessage = 124;

const char* OrEmpty(const char* text) { return text ? text : ""; }

}  // namespace

CTwFadingBox::CTwFadingBox(const char* imageName, int width, int height, CAmObject* owner)
    : CAmWnd(imageName, width, height, 0, owner) {}

void CTwFadingBox::Place(int x, int y) {
  SetPosition(x, y);
  SetDepth(kBoxLayer);
  SetTreeAlpha(0.0f);
}

float CTwFadingBox::Opacity(int ticks) {
  float opacity = 0.0f;
  if (ticks <= kFadeInEnd) opacity = static_cast<float>(ticks) * 0.1f;
  else if (ticks <= kShownEnd) opacity = 1.0f;
  else if (ticks < kLifetime) opacity = static_cast<float>(kLifetime - ticks) * 0.1f;
  return std::clamp(opacity, 0.0f, 1.0f);
}

void CTwFadingBox::OnTick(int steps) {
  clock += steps;
  SetTreeAlpha(Opacity(clock));
  if (clock >= kLifetime && !closing_) {
    closing_ = 1;
    Close();
  }
}

TwGetItemInfoDlg::TwGetItemInfoDlg(const ITEMINFODESC& info, CAmObject* owner)
    : CTwFadingBox("ifi6100", kWidth, kHeight, owner) {
  Fill(info);
  Place(kScreenCentre - static_cast<int>(std::lround(kWidth / 2.0)), kBoxTop);
}

TwGetItemInfoDlg::~TwGetItemInfoDlg() {
  // A screen opened over the box may have changed the manager's kind, so
  // the manager cannot rely on closing the box itself.
  if (g_screenManager && g_screenManager->itemInfoBox == this) g_screenManager->itemInfoBox = nullptr;
  for (CAmText* line : lines) delete line;
}

void TwGetItemInfoDlg::Refill(const ITEMINFODESC& info) {
  clock = kFullyShown;
  Fill(info);
  SetTreeAlpha(Opacity(clock));
}

void TwGetItemInfoDlg::SetLine(int index, const char* text) {
  CAmText*& line = lines[static_cast<size_t>(index)];
  if (!line) {
    line = new CAmText(kLineWidth, kLineHeight, 0, this, nullptr);
    line->SetPosition(kLineX, kLineY + kLineStep * index);
    line->SetFont(nullptr, kLineFont, kLineFont, 0, 0, 0);
    line->smooth = 1;
  }
  line->SetText(text);
}

void TwGetItemInfoDlg::Fill(const ITEMINFODESC& info) {
  char text[160];
  int used = 0;
  for (size_t i = 0; i < info.items.size() && info.items[i]; ++i) {
    std::snprintf(text, sizeof(text), "%s x %d", info.items[i]->name.c_str(), info.counts[i]);
    SetLine(used++, text);
  }
  if (info.money > 0) {
    std::snprintf(text, sizeof(text), "%s %d%s", OrEmpty(GetMessageString(kMoneyMessage)), info.money,
                  OrEmpty(GetMessageString(kMoneyUnitMessage)));
    SetLine(used++, text);
  }
  // Lines of an earlier, longer record go blank.
  for (size_t i = static_cast<size_t>(used); i < lines.size(); ++i)
    if (lines[i]) lines[i]->SetText("");
}

TwGetNewHintDlg::TwGetNewHintDlg(CAmObject* owner) : CTwFadingBox("p087", kSide, kSide, owner) {
  Place(kHintX, kHintY);
}
