#include "talk/talk_player.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "engine/core/engine_queries.h"
#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_bounds.h"
#include "engine/core/node_states.h"
#include "engine/core/nodes.h"
#include "engine/media/glyph_font.h"
#include "engine/media/sound_table.h"
#include "engine/media/sprites.h"
#include "platform/big5.h"

namespace {

// The text sprite's transparent colour.
constexpr int kKeyRed = 200, kKeyGreen = 255, kKeyBlue = 255;
// An inline code ends within this many characters after its backslash.
constexpr int kMaxCodeLength = 20;
// The interval is a float: a glyph due after exactly 0.1 s must not wait a tick.
constexpr double kClockSlack = 1e-6;

void CopyColor(const TalkVector& from, int* to) {
  for (int i = 0; i < 3; ++i) to[i] = static_cast<int>(from.v[i]);
}

bool Horizontal(const TalkStyle& s) { return s.linexstep == 0 || s.fontystep == 0; }

// "R,G,B": three decimal numbers separated by commas.
bool ParseColor(const std::string& text, int* rgb) {
  const char* p = text.c_str();
  for (int i = 0; i < 3; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(*p))) return false;
    char* end = nullptr;
    long value = std::strtol(p, &end, 10);
    rgb[i] = static_cast<int>(std::clamp(value, 0L, 255L));
    p = end;
    if (i < 2 && *p++ != ',') return false;
  }
  return *p == '\0';
}

}  // namespace

CTalkPlayer::~CTalkPlayer() { DestroyObjects(); }

void CTalkPlayer::DestroyObjects() {
  if (textSprite) DeleteSprite(textSprite);
  if (frameNode) DestroyNode(frameNode);
  if (frameMaterial) DestroyMaterial(frameMaterial);
  textSprite = frameNode = frameMaterial = 0;
}

void CTalkPlayer::SetScreen(int width, int height) {
  CBaseTalkPlayer::SetScreen(width, height);
  DestroyObjects();

  const float white[3] = {1, 1, 1};
  frameMaterial = CreateMaterial(white, white, white, white, 0, nullptr, 0, 0, 0, 0, 0);
  const float corners[16] = {0, 0, 0.5f, 1, 0, 1, 0.5f, 1, 1, 1, 0.5f, 1, 1, 0, 0.5f, 1};
  const float uvs[8] = {0, 0, 0, 1, 1, 1, 1, 0};
  BeginNode(NODE_MESH);
  SetMeshFlags(0, MESH_PRETRANSFORMED);
  AddMeshPolygon(0, corners, nullptr, uvs, 4, frameMaterial, 0);
  SetNodeRenderState(0, NRS_FOG, 0);
  SetNodeCulling(0, 0);
  frameNode = EndNode(0);
  UpdateMeshBounds(frameNode);
  ShowNode(frameNode, 0);

  BeginSprite(1);
  SetSpriteBlankImage(1, 1, 1, width, height);
  textSprite = EndSprite(0);
  SetSpriteDepth(textSprite, 0, 0, 0);
  SetSpriteColorKey(textSprite, kKeyRed, kKeyGreen, kKeyBlue, 1);
  ClearText();
  ShowSprite(textSprite, 0);
}

void CTalkPlayer::ShowWindow(int frame, int text) {
  if (frameNode) ShowNode(frameNode, frame);
  if (textSprite) ShowSprite(textSprite, text);
}

void CTalkPlayer::ClearText() {
  if (textSprite) FillSprite(textSprite, 0, kKeyRed, kKeyGreen, kKeyBlue);
}

void CTalkPlayer::LayoutFrame(const TalkStyle& s) {
  if (!frameNode) return;
  float px = s.position.v[0] * xScale, py = s.position.v[1] * yScale;
  float sw = s.size.v[0] * xScale, sh = s.size.v[1] * yScale;
  float left = std::max(px - 3, 0.0f), top = std::max(py - 3, 0.0f);
  float right = std::min(px + sw, static_cast<float>(screenWidth - 1));
  float bottom = std::min(py + sh, static_cast<float>(screenHeight - 1));

  int rgb[3];
  CopyColor(s.bgcolor, rgb);
  uint32_t alpha = static_cast<uint32_t>(std::clamp(s.opaque * 255.0f, 0.0f, 255.0f));
  uint32_t color = alpha << 24 | static_cast<uint32_t>(std::clamp(rgb[0], 0, 255)) << 16 |
                   static_cast<uint32_t>(std::clamp(rgb[1], 0, 255)) << 8 |
                   static_cast<uint32_t>(std::clamp(rgb[2], 0, 255));
  int count = 0, frames = 0, floats = 0;
  MESHVERTEX* v = GetMeshVertices(frameNode, &count, &frames, &floats);
  const float xs[4] = {left, left, right, right}, ys[4] = {top, bottom, bottom, top};
  for (int i = 0; v && i < std::min(count, 4); ++i) {
    v[i].x = xs[i];
    v[i].y = ys[i];
    v[i].diffuse = color;
  }
  UpdateMeshBounds(frameNode);
  const float tint[3] = {rgb[0] / 255.0f, rgb[1] / 255.0f, rgb[2] / 255.0f};
  SetMaterialColors(frameMaterial, tint, tint, nullptr, nullptr);
  SetNodeAlpha(frameNode, s.opaque);
  ShowNode(frameNode, 1);
}

void CTalkPlayer::SetFont(const TalkStyle& s) {
  glyphWidth = static_cast<int>(s.fontsize.v[0] * xScale);
  glyphHeight = static_cast<int>(s.fontsize.v[1] * yScale);
  SetTextFont(s.font.c_str(), glyphWidth, glyphHeight);
}

void CTalkPlayer::PlacePen(const TalkStyle& s) {
  glyphWidth = static_cast<int>(s.fontsize.v[0] * xScale);
  glyphHeight = static_cast<int>(s.fontsize.v[1] * yScale);
  penX = s.position.v[0] * xScale;
  penY = (s.position.v[1] + s.fontsize.v[1]) * yScale;
}

void CTalkPlayer::BeginText(const TalkStyle& s, std::string text, int headerBytes) {
  style_ = s;
  textBuffer = std::move(text);
  textLength = static_cast<int>(textBuffer.size());
  typedCount = 0;
  headerBytes_ = headerBytes;
}

void CTalkPlayer::OpenSentenceText(const CSentence& sentence) {
  const TalkStyle& s = sentence.style;
  const std::string header = sentence.speaker + s.header;
  BeginText(s, header + sentence.text, static_cast<int>(header.size()));
  LayoutFrame(s);
  if (textSprite) ShowSprite(textSprite, 1);
  SetFont(s);
  CopyColor(s.bgcolor, shadowColor);
  CopyColor(s.speakercolor, textColor);
  TypeUpTo(headerBytes_, true);
  CopyColor(s.fontcolor, textColor);
  CopyColor(s.fontcolor, resetColor_);
}

void CTalkPlayer::ShowSentence() {
  CBaseTalkPlayer::ShowSentence();
  auto* sentence = static_cast<CSentence*>(current);
  const TalkStyle& s = sentence->style;
  if (!sentence->audio.empty() && !sentence->voice) {
    sentence->voice = LoadSound(sentence->audio.c_str());
    if (sentence->voice) StartSound(sentence->voice, 0);
  }
  PlacePen(s);
  ClearText();
  OpenSentenceText(*sentence);
  if (s.speed <= 0) {
    typeInterval = -1;
    TypeUpTo(textLength, false);
  } else {
    typeInterval = 1.0f / s.speed;
    if (frameNode) MarkNodeTime(frameNode);
  }
}

void CTalkPlayer::EndSentence() {
  if (current && !current->audio.empty() && current->voice) {
    FreeSound(current->voice);
    current->voice = 0;
  }
}

void CTalkPlayer::End() {
  CBaseTalkPlayer::End();
  ClearText();
  ShowWindow(0, 0);
}

int CTalkPlayer::Update() {
  if (paused) return TALKSTATE_PAUSED;
  // No talk: idle, whatever state the last load or talk left behind.
  if (!current) return TALKSTATE_IDLE;
  CBaseTalkPlayer::Update();
  if (state != TALKSTATE_TYPING || typedCount >= textLength) return state;
  if (typeInterval > 0) {
    if (frameNode && GetNodeElapsedTime(frameNode) + kClockSlack >= typeInterval) {
      MarkNodeTime(frameNode);
      TypeGlyph(false);
    }
  } else {
    TypeUpTo(textLength, false);
  }
  return state;
}

void CTalkPlayer::TypeUpTo(int end, bool ignoreHolds) {
  int stateBefore = state;
  while (typedCount < end && state == stateBefore) {
    if (!TypeGlyph(ignoreHolds)) break;
  }
}

bool CTalkPlayer::ReadCode(int at, bool ignoreHolds) {
  int limit = std::min(textLength, at + 1 + kMaxCodeLength);
  int letterAt = -1;
  for (int i = at + 1; i < limit; ++i) {
    char c = static_cast<char>(std::toupper(static_cast<unsigned char>(textBuffer[i])));
    if (c == 'C' || c == 'M' || c == 'N' || c == 'P') {
      letterAt = i;
      break;
    }
  }
  if (letterAt < 0) return false;
  std::string params = textBuffer.substr(at + 1, letterAt - at - 1);
  typedCount = letterAt + 1;
  switch (std::toupper(static_cast<unsigned char>(textBuffer[letterAt]))) {
    case 'C':
      if (params == "r" || params == "R") {
        std::copy(resetColor_, resetColor_ + 3, textColor);
      } else {
        ParseColor(params, textColor);
      }
      break;
    case 'N': LineBreak(style_, true); break;
    case 'P':
      if (!ignoreHolds) state = TALKSTATE_HELD;
      break;
    default: break;
  }
  return true;
}

bool CTalkPlayer::TypeGlyph(bool ignoreHolds) {
  // Inline codes come before the glyph they colour or move.
  while (typedCount < textLength && textBuffer[typedCount] == '\\') {
    int at = typedCount;
    if (at + 2 < textLength && textBuffer[at + 2] == '\\') {
      typedCount = at + 1;  // the next character is text
      break;
    }
    if (!ReadCode(at, ignoreHolds)) break;  // an unterminated code is text
    if (state != TALKSTATE_TYPING && state != TALKSTATE_CHOOSING) return false;
  }
  if (typedCount >= textLength) return false;

  int bytes = static_cast<int>(plat::Big5CharLength(textBuffer, static_cast<size_t>(typedCount)));
  std::string glyph = textBuffer.substr(typedCount, bytes);
  typedCount += bytes;

  const TalkStyle& s = style_;
  int x = static_cast<int>(penX), top = static_cast<int>(penY) - glyphHeight;
  if (textSprite) {
    if (s.border != 0 && s.opaque > 0)
      DrawSpriteText(textSprite, 0, x + 1, top - 1, glyph.c_str(), shadowColor[0], shadowColor[1], shadowColor[2]);
    DrawSpriteText(textSprite, 0, x, top, glyph.c_str(), textColor[0], textColor[1], textColor[2]);
  }
  float step = s.fontxstep * xScale;
  penX += bytes == 2 ? step : step / 2;
  penY += s.fontystep * yScale;

  if (Horizontal(s)) {
    if (penX + glyphWidth >= (s.position.v[0] + s.size.v[0]) * xScale) LineBreak(s, true);
  } else if (penY + glyphHeight >= (s.position.v[1] + s.size.v[1]) * yScale) {
    LineBreak(s, true);
  }
  return true;
}

void CTalkPlayer::LineBreak(const TalkStyle& s, bool mayFillPage) {
  if (Horizontal(s)) {
    float indent = s.headerspace >= 0 ? s.headerspace : headerBytes_ * s.fontxstep * 0.5f;
    penX = xScale * (s.position.v[0] + indent);
    penY += s.lineystep * yScale;
    if (mayFillPage && state == TALKSTATE_TYPING && penY > (s.position.v[1] + s.size.v[1]) * yScale)
      state = TALKSTATE_PAGE_FULL;
  } else {
    float indent = s.headerspace >= 0 ? s.headerspace : headerBytes_ * s.fontystep * 0.5f;
    penY = yScale * (s.position.v[1] + indent);
    penX += s.linexstep * xScale;
  }
}

void CTalkPlayer::NextPage() {
  penY = (style_.position.v[1] + style_.fontsize.v[1]) * yScale;
  ClearText();
  state = TALKSTATE_TYPING;
}

void CTalkPlayer::ShowOptions(int selected) {
  if (!current || current->kind != NODE_OPTIONAL) return;
  const CBaseListContainer& list = *current;
  PlacePen(list.style);
  if (selected < 0) ClearText();

  headerBytes_ = 0;
  const CBaseListContainer* parent = list.parent;
  if (parent && parent->kind == NODE_SENTENCE) {
    OpenSentenceText(static_cast<const CSentence&>(*parent));
    TypeUpTo(textLength, true);
  } else {
    LayoutFrame(list.style);
  }

  optionRects.clear();
  for (int i = 0; i < list.enabledCount && i < list.childCount; ++i) DrawOption(i, selected);
}

void CTalkPlayer::DrawOption(int position, int selected) {
  const CBaseListContainer* option = current->GetChild(position);
  const TalkStyle& s = option->style;
  const TalkVector& color = position == selected ? s.highlight
                            : option->kind == NODE_SENTENCE && static_cast<const CSentence*>(option)->shownCount
                                ? s.selectedcolor
                                : s.fontcolor;
  // Menus never fill a page: the choice must stay answerable.
  float top = penY;
  LineBreak(s, false);
  CopyColor(s.bgcolor, shadowColor);
  SetFont(s);
  const std::string text = option->kind == NODE_SENTENCE ? static_cast<const CSentence*>(option)->text : "";
  int keepIndent = headerBytes_;
  BeginText(s, text, keepIndent);
  CopyColor(color, textColor);
  CopyColor(color, resetColor_);
  TypeUpTo(textLength, true);

  int left = static_cast<int>(style.position.v[0] * xScale);
  optionRects.push_back(
      {left, static_cast<int>(top), left + static_cast<int>(s.size.v[0] * xScale), static_cast<int>(penY)});
}

void CTalkPlayer::OnClick(int, int) {
  if (paused) return;
  switch (state) {
    case TALKSTATE_CHOOSING:
      if (selectedOption >= 0) Choose(selectedOption);
      break;
    case TALKSTATE_TYPING:
      if (typedCount < textLength) {
        TypeUpTo(textLength, false);
      } else {
        state = TALKSTATE_STEPPING;
      }
      break;
    case TALKSTATE_PAGE_FULL: NextPage(); break;
    case TALKSTATE_HELD: state = TALKSTATE_TYPING; break;
    default: break;
  }
}

void CTalkPlayer::OnKey(int code) {
  if (paused) return;
  if (state != TALKSTATE_CHOOSING) {
    if (code == TALKKEY_RETURN) OnClick(0, 0);
    return;
  }
  int enabled = current ? current->enabledCount : 0;
  if (code == TALKKEY_RETURN) {
    if (selectedOption >= 0 && selectedOption < enabled) Choose(selectedOption);
    return;
  }
  if (enabled <= 0 || (code != TALKKEY_UP && code != TALKKEY_DOWN)) return;
  if (code == TALKKEY_UP) {
    selectedOption = selectedOption <= 0 ? enabled - 1 : selectedOption - 1;
  } else {
    selectedOption = (selectedOption + 1) % enabled;
  }
  ShowOptions(selectedOption);
}

void CTalkPlayer::MouseOver(int x, int y) {
  if (paused || state != TALKSTATE_CHOOSING) return;
  for (size_t i = 0; i < optionRects.size(); ++i) {
    const OPTIONRECT& r = optionRects[i];
    if (x < r.left || x > r.right || y < r.top || y > r.bottom) continue;
    if (static_cast<int>(i) != selectedOption) {
      selectedOption = static_cast<int>(i);
      ShowOptions(selectedOption);
    }
    return;
  }
}

void CTalkPlayer::Pause() {
  if (state == TALKSTATE_CHOOSING || state == TALKSTATE_TYPING) ShowWindow(0, 0);
  CBaseTalkPlayer::Pause();
}

void CTalkPlayer::Resume() {
  if (state == TALKSTATE_CHOOSING || state == TALKSTATE_TYPING) ShowWindow(1, 1);
  CBaseTalkPlayer::Resume();
}
