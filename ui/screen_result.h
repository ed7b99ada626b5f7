#pragma once

// The results of the menu screens (UpdateScreens).
enum ScreenResult : int {
  SR_OPEN = 0,  // a screen is still open
  SR_NOTHING_OPEN = 1,
  SR_RESUME = 2,
  SR_INFO_CLOSED = 3,
  SR_TITLE = 4,
  SR_NEW_GAME = 5,
  SR_QUIT = 6,
  SR_LOAD = 7,
  SR_USE_ITEM = 8,
};
