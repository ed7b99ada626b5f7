// The dialogue box's layouts and its frame of flat quads.
#include <algorithm>
#include <cmath>

#include "components/mesh_helpers.h"
#include "engine/core/node_states.h"
#include "engine/core/nodes.h"
#include "engine/media/sprites.h"
#include "ui/dialog_player.h"

namespace {

constexpr float kFrameDepth = 0.0001f;
constexpr float kPieceDepth = 0.00005f;
constexpr float kBackdropOpacity = 0.8f;
constexpr int kBlueKey = 0xFF0000;  // pure blue as 0xBBGGRR

HOBJECT ColourQuad(int x, int y, int width, int height, const float colour[3], float opacity) {
  const HOBJECT quad = CreateTexturedQuad(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                                          static_cast<float>(height), kFrameDepth, nullptr, colour, 0, 0, 0, 0, 0);
  SetNodeAlpha(quad, opacity);
  return quad;
}

HOBJECT ImageQuad(int x, int y, int width, int height, float depth, const char* texture, int mirrorX, int mirrorY) {
  return CreateTexturedQuad(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                            static_cast<float>(height), depth, texture, nullptr, 0, 1, kBlueKey, mirrorX, mirrorY);
}

}  // namespace

void CDialogPlayer::SchemeColour(float out[3]) const {
  out[0] = look.schemeRed[scheme] / 256.0f;
  out[1] = look.schemeGreen[scheme] / 256.0f;
  out[2] = look.schemeBlue[scheme] / 256.0f;
}

void CDialogPlayer::SetBackdrop(int value, int height, int withPieces) {
  if (backdrop) DestroyNode(backdrop);
  const float colour[3] = {look.schemeRed[value] / 256.0f, look.schemeGreen[value] / 256.0f,
                           look.schemeBlue[value] / 256.0f};
  const int y = look.bottomPanelY - 4;
  backdrop = ColourQuad(look.bottomPanelX + (withPieces ? 10 : 0), y, withPieces ? 620 : 640, height, colour,
                        kBackdropOpacity);
  if (!withPieces || pieces[0]) return;
  pieces[0] = ImageQuad(look.bottomPanelX, y, 10, height + 8, kPieceDepth, "DialBGS", 0, 0);
  pieces[1] = ImageQuad(630, y, 10, height + 8, kPieceDepth, "DialBGS", 0, 0);
}

void CDialogPlayer::SetPanel(int width, int height, int x, int y) {
  if (panel) DeleteSprite(panel);
  BeginSprite(0);
  SetSpriteBlankImage(1, 1, 1, width, height);
  panel = EndSprite(0);
  SetSpriteColorKey(panel, 0, 0, 255, 1);
  FillSprite(panel, 0, 0, 0, 255);
  SetSpritePosition(panel, x, y);
}

void CDialogPlayer::SetColourQuad(int width, int height, int x, int y) {
  if (backdrop) DestroyNode(backdrop);
  float colour[3];
  SchemeColour(colour);
  backdrop = ColourQuad(x, y, width, height, colour, kBackdropOpacity);
}

void CDialogPlayer::DestroyBorders() {
  for (HOBJECT& quad : borders) {
    if (quad) DestroyNode(quad);
    quad = 0;
  }
}

void CDialogPlayer::SetBorders(int width, int height, int x, int y) {
  DestroyBorders();
  const int cw = cornerWidth, ch = cornerHeight;
  // Corners outside the box: top left, top right, bottom left, bottom right,
  // each mirrored toward its own corner.
  const int corners[4][4] = {
      {x - cw, y - ch, 0, 0}, {x + width, y - ch, 1, 0}, {x - cw, y + height, 0, 1}, {x + width, y + height, 1, 1}};
  int nearest = 0;
  long best = -1;
  for (int i = 0; i < 4; ++i) {
    const long dx = corners[i][0] + cw / 2 - anchorX, dy = corners[i][1] + ch / 2 - anchorY;
    if (best < 0 || dx * dx + dy * dy < best) best = dx * dx + dy * dy, nearest = i;
  }
  for (int i = 0; i < 4; ++i)
    borders[i] = ImageQuad(corners[i][0], corners[i][1], cw, ch, kFrameDepth, i == nearest ? "DBordVP0" : "DBordVC0",
                           corners[i][2], corners[i][3]);
  // The left and top edges, and their copies turned half round on the right
  // and at the bottom.
  borders[4] = ImageQuad(x - edgeSize, y, edgeSize, height, kFrameDepth, "DBordVL0", 0, 0);
  borders[5] = ImageQuad(x, y - edgeSize, width, edgeSize, kFrameDepth, "DBordVL1", 0, 0);
  borders[6] = ImageQuad(x + width, y, edgeSize, height, kFrameDepth, "DBordVL0", 1, 1);
  borders[7] = ImageQuad(x, y + height, width, edgeSize, kFrameDepth, "DBordVL1", 1, 1);
}

void CDialogPlayer::PlaceBalloon(int x, int y) {
  const DIALOGPAGEDESC* page = CurrentPage();
  const int longest = page ? page->longestLine : 0;
  const int lines = page ? page->lines : 1;
  const int width = look.cell + look.cell * (longest + 1);
  const int height = 2 * verticalPad + (lines - 2) * look.lineHeight;
  anchorX = x;
  anchorY = y;
  int left = x + cornerWidth;
  int top = y - cornerHeight - height;
  if (x + width > 640 && x >= 320) left -= width + 2 * cornerWidth;
  if (y - height < 0 && y <= 240) top += height + 2 * cornerHeight;
  SetSpritePosition(panel, left, top);
  SetColourQuad(width, height, left, top);
  SetBorders(width, height, left, top);
}

int CDialogPlayer::SetLayout(int value) {
  switch (value) {
    case kLayoutBottom:
      look.textAreaWidth = 600;
      look.textAreaHeight = 66;
      SetPanel(640, 120, look.bottomPanelX, look.bottomPanelY);
      SetColourQuad(620, 72, look.bottomPanelX + 10, look.bottomPanelY - 4);
      break;
    case kLayoutCentre: {
      const int x = (640 - 480) / 2 + look.centreOffsetX;
      look.textAreaWidth = 460;
      look.textAreaHeight = 200;
      SetPanel(480, 240, x, look.centreOffsetY);
      SetColourQuad(480, 240, x, look.centreOffsetY);
      break;
    }
    case kLayoutBalloon: {
      int longest = 0, most = 0;
      if (chunks)
        for (const DIALOGPAGEDESC& page : chunks->pages) {
          longest = std::max(longest, page.longestLine);
          most = std::max(most, page.lines);
        }
      look.textAreaWidth = (longest + 1) * look.cell;
      look.textAreaHeight = look.lineHeight * (most - 2) + 2 * verticalPad;
      pastColon = 1;
      if (const DIALOGPAGEDESC* page = CurrentPage()) chunks->Seek(page->textStart);
      // However long the text, the panel never outgrows the screen.
      SetPanel(std::min(640, look.cell + look.textAreaWidth), std::clamp(look.textAreaHeight, 1, 480), anchorX,
               anchorY);
      PlaceBalloon(anchorX, anchorY);
      break;
    }
    default: return 0;
  }
  layout = value;
  return 1;
}

void CDialogPlayer::ShowLayoutFrame(int value, int visible) {
  ShowNode(backdrop, visible);
  for (HOBJECT piece : pieces) ShowNode(piece, visible && value == kLayoutBottom);
  for (HOBJECT quad : borders) ShowNode(quad, visible && value == kLayoutBalloon);
}

void CDialogPlayer::ShowFrame(int visible) { ShowLayoutFrame(layout, visible); }

void CDialogPlayer::SetVisible(int visible) {
  ShowSprite(panel, visible);
  if (backdrop) ShowFrame(visible);
}

int CDialogPlayer::PostUpdate(int) {
  if (!active) return 1;
  for (HOBJECT piece : pieces) SetQuadTextureRect(piece, 0.2f, 1.0f, blinkCount / 60.0f, 0.0f);
  blinkCount = (blinkCount + 1) % 60;
  return 1;
}
