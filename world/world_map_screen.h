#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "components/b_sprite.h"
#include "world/text_label.h"
#include "world/world_map_pixels.h"

// One place of the world map: its icons (day variants 1 to 3, then night
// variants 1 to 3: normal, under the mouse, chosen or current) and their
// kept pixels, and its hit rectangle.
struct CWorldMapPlace {
  static constexpr int kIcons = 6;

  int id = 0;
  int page = 0;     // 0 day, 1 night
  int variant = 0;  // chooses between the two scene codes of a page
  CBSprite icons[kIcons];
  std::vector<uint16_t> savedIcons[kIcons];
  CTextLabel label;  // the hit rectangle only
  int enabled = 0;
  int state = 0;  // 0 normal, 1 hover, 2 chosen
};

// The full-screen world map with its 15 places in a day and a night version;
// a choice cross-fades to the place's page when needed, darkens the picture
// and reports the scene file and entry point through the callback.
class CWorldMapScreen {
 public:
  static constexpr int kPlaces = 15;
  static constexpr int kSwitchFrames = 15;
  static constexpr int kFadeFrames = 30;
  static constexpr int kFadeFramesAfterSwitch = 22;
  using ResultCallback = void (*)(const char* sceneFile, int point);

  CWorldMapScreen() = default;
  CWorldMapScreen(const CWorldMapScreen&) = delete;
  CWorldMapScreen& operator=(const CWorldMapScreen&) = delete;

  // Loads the backgrounds and icons from the image package (null: the one
  // open now) and leaves the screen closed.
  void Init(const char* package);
  void SetResultCallback(ResultCallback callback) { resultCallback = callback; }
  void SetPlaceState(int id, int enabled, int page, int variant);
  // Shows the page; enabled places without a code for their case are disabled.
  void Open(int currentPlace, int enabled, int page, int variant);
  // Also the refresh, called with (1, 1).
  void OnMouseMove(int x, int y);
  void OnMouseDown(int x, int y);
  // Once per game frame.
  void Update();

  // The scene code of the place for its page and variant ("" when none).
  static const char* PlaceCode(int id, int page, int variant);

  CBSprite nightBackground;
  CBSprite dayBackground;
  int page = 0;
  CWorldMapPlace places[kPlaces];
  std::string imageDirectory;
  int switching = 0;
  int switchDirection = 0;  // 1 towards night, 2 towards day
  int switchFrame = 0;
  int busy = 0;
  std::vector<uint16_t> dayPixels;
  std::vector<uint16_t> nightPixels;
  int chosenPlace = -1;
  int chosenEnabled = 0;
  int chosenPage = 0;
  int chosenVariant = 0;
  int afterSwitch = 0;
  int open = 0;
  ResultCallback resultCallback = nullptr;
  int selecting = 0;
  int fadeFrame = 0;
  SpritePixelFormat pixelFormat;

 private:
  CBSprite& Background(int which) { return which == 1 ? nightBackground : dayBackground; }
  std::vector<uint16_t>& BackgroundPixels(int which) { return which == 1 ? nightPixels : dayPixels; }
  // Shows only the given icon variant (0-based) of the page, or none for -1.
  static void ShowOnly(CWorldMapPlace& place, int page, int variant);
  void StartPageSwitch(int target);
  void SavePixels();
  void RestorePixels();
  void StepSwitch();
  void StepFade();
  void Report();
  void HideAll();
};
