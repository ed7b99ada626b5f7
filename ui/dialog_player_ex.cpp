#include "ui/dialog_player_ex.h"

#include <algorithm>

#include "base/text_convert.h"
#include "components/mesh_helpers.h"
#include "engine/core/node_states.h"
#include "engine/core/nodes.h"
#include "engine/media/sprites.h"
#include "platform/big5.h"
#include "ui/gm_msg_sender.h"
#include "ui/menu_agency.h"

namespace {

constexpr int kMaxText = 255;

// An entry's bytes from..to (inclusive), at most 255 of them.
std::string Slice(const std::vector<uint8_t>& bytes, int64_t from, int64_t to) {
  from = std::max<int64_t>(from, 0);
  to = std::min<int64_t>(to, static_cast<int64_t>(bytes.size()) - 1);
  if (to < from) return {};
  const int64_t count = std::min<int64_t>(to - from + 1, kMaxText);
  return std::string(bytes.begin() + from, bytes.begin() + from + count);
}

}  // namespace

CDialogPlayerEx::CDialogPlayerEx(const char* path) : CDialogPlayer(path) {}

CDialogPlayerEx::~CDialogPlayerEx() {
  delete sender;
  DestroyChoiceFrame();
  DeleteChoiceSprites();
}

void CDialogPlayerEx::AttachSender(CMenuAgency* agency) {
  if (!agency || sender) return;
  sender = new CGMMsgSender(kSenderGroup);
  sender->SetTarget(this);
  sender->AttachTo(agency);
}

int CDialogPlayerEx::StartWithInput(const char* name, int layoutValue, int pageModeValue, int fastValue,
                                    CMenuAgency* agency, const char* substituteName) {
  const int started = Start(name, layoutValue, pageModeValue, fastValue, substituteName);
  if (started) AttachSender(agency);
  return started;
}

int CDialogPlayerEx::StartWithInputDefault(const char* name, CMenuAgency* agency, const char* substituteName) {
  return StartWithInput(name, layout, pageMode, fast, agency, substituteName);
}

int CDialogPlayerEx::StartChoice(const char* name, int layoutValue, CMenuAgency* agency, const char* substituteName) {
  fontSize = 18;
  TakeFontName();
  for (std::string& text : choiceTexts) text.clear();
  question.clear();
  layout = layoutValue;
  pastColon = 0;
  const int found = file.IsOpen() ? file.Find(name) : -1;
  if (found < 0) return 0;
  entry = found;
  LoadEntry(entry, substituteName);
  red = look.textRed;
  green = look.textGreen;
  blue = look.textBlue;
  finishing = 0;
  answer = hovered = -1;
  choosing = 1;
  choicesReady = 0;
  questionPos = 0;
  AttachSender(agency);
  BuildChoices();
  return 1;
}

int CDialogPlayerEx::StartChoiceDefault(const char* name, CMenuAgency* agency, const char* substituteName) {
  return StartChoice(name, layout, agency, substituteName);
}

void CDialogPlayerEx::BuildChoices() {
  penX = look.leftMargin;
  penY = look.topMargin;
  nameIndent = 0;
  const std::vector<DIALOGPAGEDESC>& pages = chunks->pages;
  const std::vector<uint8_t>& bytes = chunks->buffer;
  choiceCount = pages.empty() ? 0 : std::min(static_cast<int>(pages.size()) - 1, kMaxChoices);
  question = pages.empty() ? std::string() : Slice(bytes, 0, pages[0].textEnd);
  DeleteChoiceSprites();
  for (int i = 0; i < choiceCount; ++i) {
    choiceTexts[i] = Slice(bytes, pages[i + 1].textStart, pages[i + 1].textEnd);
    BeginSprite(0);
    SetSpriteBlankImage(1, 1, 1, 620, fontSize);
    choiceSprites[i] = EndSprite(0);
    SetSpriteColorKey(choiceSprites[i], 0, 0, 255, 1);
    FillSprite(choiceSprites[i], 0, 0, 0, 255);
  }
  questionLength = static_cast<int>(question.size());
  questionLines = pages.empty() ? 1 : pages[0].lines;
  const int count = choiceCount;
  if (layout == kLayoutBalloon) {
    int longest = 0;
    for (const DIALOGPAGEDESC& page : pages) longest = std::max(longest, page.longestLine);
    const int lines = questionLines;
    const int width = std::min(640, look.leftMargin + (look.cell + 2) * longest);
    look.textAreaWidth = look.leftMargin + width;
    const int g = look.topMargin + look.lineHeight * (lines + count - 1);
    const int x = anchorX + cornerWidth;
    const int y = anchorY - cornerHeight - g;
    SetPanel(std::max(1, width), std::clamp(look.lineHeight * (lines + 1), 1, 480), x, y);
    if (choiceBackdrop) DestroyNode(choiceBackdrop);
    const float grey[3] = {100 / 256.0f, 100 / 256.0f, 100 / 256.0f};
    choiceBackdrop = CreateTexturedQuad(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                                        static_cast<float>(g), 0.0001f, nullptr, grey, 0, 0, 0, 0, 0);
    SetBorders(width, g, x, y);
    // The answers follow the question line by line.
    for (int i = 0; i < count; ++i)
      SetSpritePosition(choiceSprites[i], x, y + look.topMargin + (lines + i) * look.lineHeight - fontSize);
    return;
  }
  look.textAreaWidth = 600;
  look.textAreaHeight = 46;
  const DIALOGPAGEDESC* first = pages.empty() ? nullptr : &pages[0];
  const int characters = questionLength - (first ? first->doubleByteChars + first->controlBytes : 0);
  const int needed = (characters * look.cell + look.leftMargin) / 600 + 1;
  questionLines = std::max(questionLines, needed);
  // The question and its answers fill the bottom rows of a 20-pixel grid.
  const int lines = std::min(questionLines, 23 - count);
  const int top = (23 - lines - count) * 20;
  SetPanel(640, look.topMargin + lines * look.lineHeight, 0, top);
  for (int i = 0; i < count; ++i) SetSpritePosition(choiceSprites[i], 4, 466 + (i - count) * 20);
  SetChoiceFrame(0, top, 640, (lines + count + 1) * 20);
}

void CDialogPlayerEx::SetChoiceFrame(int x, int y, int width, int height) {
  if (!choicePieces[0]) {
    for (int i = 0; i < 2; ++i)
      choicePieces[i] =
          CreateTexturedQuad(static_cast<float>(i ? x + width - 10 : x), static_cast<float>(y), 10.0f,
                             static_cast<float>(height), 0.00005f, "DialBGSQ", nullptr, 0, 1, 0xFF0000, 0, 0);
  }
  if (choiceBackdrop) DestroyNode(choiceBackdrop);
  float colour[3];
  SchemeColour(colour);
  choiceBackdrop = CreateTexturedQuad(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                                      static_cast<float>(height), 0.0001f, nullptr, colour, 0, 0, 0, 0, 0);
  SetNodeAlpha(choiceBackdrop, 0.62f);
}

void CDialogPlayerEx::DrawAnswer(int i, int lit) {
  const HOBJECT sprite = choiceSprites[i];
  FillSprite(sprite, 0, 0, 0, 255);
  const char* text = choiceTexts[i].c_str();
  // Glyph tops sit one cell above the pen line, as everywhere in the box.
  DrawConvertedText(sprite, 0, nameIndent + 1, 1, text, 50, 50, 50);
  if (lit) DrawConvertedText(sprite, 0, nameIndent, 0, text, 255, 100, 100);
  else DrawConvertedText(sprite, 0, nameIndent, 0, text, 250, 240, 180);
}

void CDialogPlayerEx::TypeQuestionChar() {
  if (layout == kLayoutBalloon && !pastColon) {
    // Balloons show no speaker: start after the first page's colon.
    pastColon = 1;
    if (!chunks->pages.empty()) questionPos = static_cast<int>(chunks->pages[0].textStart);
  }
  if (questionPos >= questionLength) {
    questionPos = 0;
    choicesReady = 1;
    for (int i = 0; i < choiceCount; ++i) DrawAnswer(i, 0);
    return;
  }
  const int length = static_cast<int>(plat::Big5CharLength(question, static_cast<size_t>(questionPos)));
  uint8_t character[2] = {static_cast<uint8_t>(question[questionPos]),
                          length == 2 ? static_cast<uint8_t>(question[questionPos + 1]) : uint8_t{0}};
  questionPos += length;
  if (length == 1) {
    switch (character[0]) {
      case '\n':
        penX = look.leftMargin;
        penY += look.lineHeight;
        return;
      case '\r': return;
      case '$':
        red = 50;
        green = 50;
        blue = 255;
        return;
      case '^': highlight = !highlight; return;
      case '*':
        if (!pastColon) return;
        break;
      case ':':
        if (pastColon) break;
        nameIndent = penX;
        pastColon = 1;
        DrawGlyph(character, length, nameIndent, penY, red, green, blue);
        penX = look.cell / 2;
        return;
      default: break;
    }
  }
  if (highlight) DrawGlyph(character, length, penX + nameIndent, penY, 255, 100, 100);
  else DrawGlyph(character, length, penX + nameIndent, penY, red, green, blue);
  penX += CharWidth(character, length, look.cell);
  if (penX > look.textAreaWidth) {
    penX = look.leftMargin;
    penY += look.lineHeight;
  }
}

int CDialogPlayerEx::Update(int n) {
  if (!choosing) return CDialogPlayer::Update(n);
  if (!choicesReady) TypeQuestionChar();
  return 1;
}

int CDialogPlayerEx::PostUpdate(int n) {
  CDialogPlayer::PostUpdate(n);
  if (!choosing && !choicesReady) return 1;
  for (HOBJECT piece : choicePieces) SetQuadTextureRect(piece, 0.2f, 1.0f, choiceBlink / 30.0f, 0.0f);
  choiceBlink = (choiceBlink + 1) % 30;
  return 1;
}

int CDialogPlayerEx::OnAdvance() {
  if (!choosing) return CDialogPlayer::OnAdvance();
  while (!choicesReady) TypeQuestionChar();
  return 1;
}

int CDialogPlayerEx::IsActive() { return active || choosing; }

int CDialogPlayerEx::OnChoiceLButtonDown(int, int) {
  if (inputBlocked) return 0;
  OnAdvance();
  if (choicesReady && hovered >= 0) {
    answer = hovered;
    CloseChoice();
  }
  return 1;
}

int CDialogPlayerEx::OnChoiceLButtonUp(int, int) { return 0; }

int CDialogPlayerEx::OnChoiceMouseMove(int x, int y) {
  if (!choicesReady) return 0;
  int found = -1;
  for (int i = 0; i < choiceCount && found < 0; ++i)
    if (HitTestSprite(choiceSprites[i], x, y, 0)) found = i;
  if (found == hovered) return 1;
  if (hovered >= 0) DrawAnswer(hovered, 0);
  if (found >= 0) DrawAnswer(found, 1);
  hovered = found;
  return 1;
}

void CDialogPlayerEx::DestroyChoiceFrame() {
  if (choiceBackdrop) DestroyNode(choiceBackdrop);
  choiceBackdrop = 0;
  for (HOBJECT& piece : choicePieces) {
    if (piece) DestroyNode(piece);
    piece = 0;
  }
}

void CDialogPlayerEx::DeleteChoiceSprites() {
  for (HOBJECT& sprite : choiceSprites) {
    if (sprite) DeleteSprite(sprite);
    sprite = 0;
  }
}

void CDialogPlayerEx::CloseChoice() {
  if (panel) DeleteSprite(panel);
  panel = 0;
  DestroyChoiceFrame();
  DeleteChoiceSprites();
  delete sender;
  sender = nullptr;
  for (HOBJECT quad : borders) ShowNode(quad, 0);
  choosing = choicesReady = choiceCount = 0;
}

int CDialogPlayerEx::Close() {
  CloseChoice();
  const int closed = CDialogPlayer::Close();
  delete sender;
  sender = nullptr;
  return closed;
}
