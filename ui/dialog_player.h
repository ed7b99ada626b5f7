#pragma once
#include <memory>

#include "components/gc_base.h"
#include "engine/core/handles.h"
#include "ui/dialog_chunks.h"
#include "ui/dialog_file.h"

// Given the next page, the place the balloon should point at.
using BalloonPlacement = void (*)(const DIALOGPAGEDESC& page, int* x, int* y);

// The colours and measures the box lays its text out with; the cut-scene's
// dialogue actor changes the colours.
struct DIALOGLAYOUTDESC {
  int schemeRed[5] = {0, 63, 0, 0, 56};
  int schemeGreen[5] = {0, 12, 44, 31, 16};
  int schemeBlue[5] = {0, 0, 3, 78, 56};
  int smoothBlue = 30;  // what the soft text edges blend into
  int smoothGreen = 70;
  int smoothRed = 76;
  int bottomPanelX = 0;
  int bottomPanelY = 408;
  int backdropHeight = 72;
  int centreOffsetX = 0;
  int centreOffsetY = 100;
  int leftMargin = 16;
  int topMargin = 20;
  int cell = 18;
  int lineHeight = 20;
  int textAreaWidth = 600;
  int textAreaHeight = 66;
  int drawingOff = 0;
  int textRed = 255;
  int textGreen = 255;
  int textBlue = 255;
};

// A dialogue box: finds a named entry of a dialogue text file and types its
// pages out character by character in one of three layouts (0 a strip at the
// bottom, 1 a centred panel, 2 a speech balloon next to a point), waiting for
// the player between pages. Its text is drawn into a sprite that keeps the
// page; the frame is built of flat quads. It is a component: a society (or
// the cut-scene's dialogue actor) runs Update and PostUpdate each tick.
//
// Control characters of an entry's text: line feed, '#' (end of page),
// '$' (the cyan colour), '*' (the substitute name's mark, not drawn before
// the ':'), '/' (end), ':' (ends the speaker's name), '^' (highlight on and
// off); a carriage return is ignored.
class CDialogPlayer : public CGCBase {
 public:
  static constexpr int kLayoutBottom = 0;
  static constexpr int kLayoutCentre = 1;
  static constexpr int kLayoutBalloon = 2;

  // Opens the file at path (a box without an index when it cannot).
  explicit CDialogPlayer(const char* path);
  ~CDialogPlayer() override;

  // Paces the typing; 0 once the text has ended.
  int Update(int n) override;
  // Runs the backdrop pieces' shimmer.
  int PostUpdate(int n) override;
  void SetVisible(int visible) override;

  // A 640 x height strip keyed to the scheme's colour (with the two shimmer
  // pieces at its ends when withPieces).
  virtual void SetBackdrop(int scheme, int height, int withPieces);
  // The sprite the text goes into, emptied to the key colour.
  virtual void SetPanel(int width, int height, int x, int y);
  virtual void SetColourQuad(int width, int height, int x, int y);
  // Eight border quads around the box, the corner nearest the anchor pointing.
  virtual void SetBorders(int width, int height, int x, int y);
  virtual int LoadEntry(int entryIndex, const char* substituteName);
  virtual int SetLayout(int value);
  // Builds the page records; 0 when a speaker name runs over 32 bytes.
  virtual int ParseEntry(const char* substituteName);
  // Opens right and up from the point, flipping at the screen's edges.
  virtual void PlaceBalloon(int x, int y);
  virtual void ShowFrame(int visible);
  virtual void ShowLayoutFrame(int value, int visible);
  // 0 when no index is loaded or the entry does not exist.
  virtual int Start(const char* name, int layoutValue, int pageModeValue, int fastValue, const char* substituteName);
  virtual int StartAt(const char* name, int x, int y, const char* substituteName);
  virtual int StartDefault(const char* name, const char* substituteName);
  // 0 for a missing file, a wrong magic or a broken index.
  virtual int Open(const char* path);
  // 1 ends at once; 0 lets the next advance close the box.
  virtual void Finish(int immediate);
  // 0 when not active.
  virtual int Close();
  virtual void ClearPage();
  virtual void NewLine();
  // The player's click or key: closes, turns the page or types the page out.
  virtual int OnAdvance();
  // 1 after a character, 0 at the end of the text.
  virtual int TypeNextChar();
  virtual int IsWaiting();
  // Refused for a negative value or when both are null.
  virtual int SetDelays(const int* pageDelayValue, const int* charDelayValue);
  // 0 slow, 1 normal, 2 fast; others refused.
  virtual int SetSpeed(int preset);
  // 0..4; others refused.
  virtual int SetColourScheme(int value);
  // The balloon's anchor; refused outside the screen.
  virtual int SetPosition(int x, int y);
  virtual int IsActive();
  // Refused while active; null values stay.
  virtual int SetDefaults(const int* layoutValue, const int* pageModeValue, const int* fastValue);
  virtual void SetPlacementCallback(BalloonPlacement procedure);
  virtual void DrawGlyph(const uint8_t* character, int length, int x, int y, int red, int green, int blue);

  // The pen advance of a character at the cell size.
  static int CharWidth(const uint8_t* character, int length, int cell);

  int blinkCount = 0;
  int layout = kLayoutBottom;
  int pageMode = 0;
  int fast = 0;
  int fontSize = 18;
  char fontName[256] = {};
  int recordIndex = 0;
  int placePending = 0;
  int red = 255;
  int green = 255;
  int blue = 255;
  BalloonPlacement placementCallback = nullptr;
  int anchorX = 10;
  int anchorY = 100;
  int cornerWidth = 32;
  int cornerHeight = 32;
  int edgeSize = 32;
  HOBJECT borders[8] = {};  // four corners, two edges, their turned copies
  std::unique_ptr<CGDialogChunks> chunks;
  int waiting = 0;
  int highlight = 0;
  CDialogFile file;
  HOBJECT panel = 0;
  HOBJECT backdrop = 0;
  HOBJECT pieces[2] = {};
  int entry = -1;
  int penX = 0;
  int penY = 0;
  int lineStartX = 0;
  int tickCount = 0;
  int pageWaitCount = 0;
  int charWaitCount = 0;
  int pastColon = 0;
  int finishing = 0;
  int verticalPad = 26;
  int pageDelay = 15;
  int charDelay = 1;
  int scheme = 0;
  int active = 0;
  DIALOGLAYOUTDESC look;

 protected:
  // The scheme's colour as quad colour components.
  void SchemeColour(float out[3]) const;
  void TakeFontName();
  void DestroyBorders();
  // The page under the pen, kept within the records.
  const DIALOGPAGEDESC* CurrentPage() const;
};
