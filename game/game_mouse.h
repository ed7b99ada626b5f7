#pragma once

class CGMMouse;
class CForceFeedbackMouse;

// The game's cursor: what lies under it, where it is and the overlay element
// that draws it. In the field it is locked at the screen centre.
class CGameMouse {
 public:
  static constexpr int kCentreX = 320;
  static constexpr int kCentreY = 240;

  // Starts the force-feedback device with a start-up pulse, makes the hidden
  // cursor element and locks the cursor.
  CGameMouse();
  ~CGameMouse();
  CGameMouse(const CGameMouse&) = delete;
  CGameMouse& operator=(const CGameMouse&) = delete;

  // The cursor type (what lies under it) picks the element's shape.
  void SetShape(int cursorType);
  // Ignored while locked.
  void SetPosition(int px, int py);
  void Show(int on);
  // Locking also centres; nothing when unchanged.
  void Lock(int on);
  // Element, stored position and system cursor to the screen centre.
  void Centre();

  // The element's shape for a cursor type; 0 for a type outside the table.
  static int ShapeOfType(int cursorType);

  int type = 0;
  int x = 0;
  int y = 0;
  CGMMouse* cursor;
  CForceFeedbackMouse* forceFeedback;
  int locked = 0;
};
