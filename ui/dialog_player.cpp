#include "ui/dialog_player.h"

#include <cstring>

#include "base/text_convert.h"
#include "database/game_resource.h"
#include "engine/core/nodes.h"
#include "engine/media/sprites.h"

CDialogPlayer::CDialogPlayer(const char* path) {
  TakeFontName();
  SetSpeed(1);
  SetColourScheme(0);
  Open(path);
}

CDialogPlayer::~CDialogPlayer() {
  if (panel) DeleteSprite(panel);
  if (backdrop) DestroyNode(backdrop);
  for (HOBJECT piece : pieces)
    if (piece) DestroyNode(piece);
  DestroyBorders();
}

void CDialogPlayer::TakeFontName() {
  const char* face = GetMessageString(1);
  std::strncpy(fontName, face ? face : "", sizeof fontName - 1);
  fontName[sizeof fontName - 1] = '\0';
  SelectFontName(fontName, fontSize, fontSize, fontName);
}

int CDialogPlayer::Open(const char* path) {
  if (!panel) SetPanel(640, 200, look.bottomPanelX, look.bottomPanelY);
  return path && file.Open(path) ? 1 : 0;
}

int CDialogPlayer::Start(const char* name, int layoutValue, int pageModeValue, int fastValue,
                         const char* substituteName) {
  if (!file.IsOpen()) return 0;
  const int found = file.Find(name);
  if (found < 0) return 0;
  TakeFontName();
  penX = look.leftMargin;
  penY = look.topMargin;
  lineStartX = look.leftMargin;
  pageMode = pageModeValue;
  fast = fastValue;
  red = look.textRed;
  green = look.textGreen;
  blue = look.textBlue;
  tickCount = pageWaitCount = charWaitCount = 0;
  waiting = finishing = pastColon = blinkCount = 0;
  entry = found;
  active = 1;
  LoadEntry(entry, substituteName);
  SetLayout(layoutValue);
  ShowFrame(1);
  return 1;
}

int CDialogPlayer::StartAt(const char* name, int x, int y, const char* substituteName) {
  SetPosition(x, y);
  return Start(name, kLayoutBalloon, pageMode, fast, substituteName);
}

int CDialogPlayer::StartDefault(const char* name, const char* substituteName) {
  return Start(name, layout, pageMode, fast, substituteName);
}

int CDialogPlayer::LoadEntry(int entryIndex, const char* substituteName) {
  chunks = std::make_unique<CGDialogChunks>(file.EntryText(entryIndex));
  recordIndex = 0;
  placePending = 0;
  highlight = 0;
  return ParseEntry(substituteName);
}

void CDialogPlayer::Finish(int immediate) {
  if (immediate) {
    FillSprite(panel, 0, 0, 0, 255);
    ShowFrame(0);
    active = 0;
  } else {
    finishing = 1;
    waiting = 1;
  }
  fast = 0;
  highlight = 0;
  lineStartX = look.leftMargin;
}

int CDialogPlayer::Close() {
  if (!active) return 0;
  FillSprite(panel, 0, 0, 0, 255);
  ShowFrame(0);
  active = waiting = finishing = highlight = 0;
  return 1;
}

int CDialogPlayer::OnAdvance() {
  if (!active) return 0;
  pageWaitCount = 0;
  if (finishing) {
    Close();
  } else if (waiting) {
    waiting = 0;
    ClearPage();
  } else {
    while (!waiting && active && TypeNextChar()) {
    }
  }
  return 1;
}

int CDialogPlayer::Update(int n) {
  if (!active || !file.IsOpen()) return 0;
  ++tickCount;
  if (n < 0) {
    penX = look.leftMargin;
    penY = look.topMargin;
    for (int i = 0; i < n + tickCount && !waiting; ++i)
      if (!TypeNextChar()) return 0;
    return 1;
  }
  if (++charWaitCount <= charDelay) return 1;
  charWaitCount = 0;
  for (int i = 0; i < n; ++i) {
    if (IsWaiting()) break;
    if (!TypeNextChar()) return 0;
  }
  return 1;
}

int CDialogPlayer::IsWaiting() {
  if (pageMode == 0) return waiting;
  if (pageMode != 1 || !waiting) return 0;
  if (++pageWaitCount > pageDelay) {
    pageWaitCount = 0;
    waiting = 0;
    ClearPage();
  }
  return 1;
}

int CDialogPlayer::SetDelays(const int* pageDelayValue, const int* charDelayValue) {
  if ((!pageDelayValue && !charDelayValue) || (pageDelayValue && *pageDelayValue < 0) ||
      (charDelayValue && *charDelayValue < 0))
    return 0;
  if (pageDelayValue) pageDelay = *pageDelayValue;
  if (charDelayValue) charDelay = *charDelayValue;
  return 1;
}

int CDialogPlayer::SetSpeed(int preset) {
  static constexpr int kDelays[3][2] = {{24, 2}, {15, 1}, {6, 0}};
  if (preset < 0 || preset > 2) return 0;
  pageDelay = kDelays[preset][0];
  charDelay = kDelays[preset][1];
  return 1;
}

int CDialogPlayer::SetColourScheme(int value) {
  if (value < 0 || value > 4) return 0;
  scheme = value;
  SetBackdrop(value, look.backdropHeight, 1);
  if (!active) ShowFrame(0);
  return 1;
}

int CDialogPlayer::SetPosition(int x, int y) {
  if (x < 0 || x > 640 || y < 0 || y > 480) return 0;
  anchorX = x;
  anchorY = y;
  return 1;
}

int CDialogPlayer::IsActive() { return active; }

int CDialogPlayer::SetDefaults(const int* layoutValue, const int* pageModeValue, const int* fastValue) {
  if (active) return 0;
  if (layoutValue) layout = *layoutValue;
  if (pageModeValue) pageMode = *pageModeValue;
  if (fastValue) fast = *fastValue;
  return 1;
}

void CDialogPlayer::SetPlacementCallback(BalloonPlacement procedure) { placementCallback = procedure; }
