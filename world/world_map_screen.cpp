#include "world/world_map_screen.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "engine/core/engine_queries.h"
#include "engine/media/packages.h"
#include "engine/media/sprites.h"

namespace {

struct PlaceLayout {
  int x, y, width, height;
  const char* codes[4];  // index: (variant = 1 ? 0 : 2) + (page = 1 ? 1 : 0)
};

constexpr PlaceLayout kLayout[CWorldMapScreen::kPlaces] = {
    {485, 43, 80, 50, {"b001_08", "", "", ""}},         {429, 100, 96, 58, {"", "d001_01", "", "d001_01"}},
    {408, 163, 88, 47, {"e001_04", "", "e001_04", ""}}, {269, 277, 76, 53, {"f001_07", "f002_07", "f014_04", ""}},
    {189, 181, 84, 58, {"", "g001_05", "", "g001_05"}}, {108, 246, 88, 60, {"h001_01", "", "h001_01", ""}},
    {47, 322, 88, 64, {"i008_02", "", "i001_01", ""}},  {413, 296, 88, 64, {"", "", "p001_05", ""}},
    {370, 231, 68, 54, {"", "", "j002_03", "j001_01"}}, {514, 185, 68, 48, {"", "", "l001_08", "l006_08"}},
    {530, 244, 84, 48, {"", "", "m001_01", "m002_01"}}, {277, 168, 72, 58, {"", "", "k001_01", "k002_12"}},
    {247, 122, 60, 52, {"", "", "", "n001_02"}},        {327, 336, 80, 69, {"", "", "a006_01", ""}},
    {321, 68, 100, 62, {"", "", "a008_01", "a009_01"}},
};

constexpr int kVariants = 3;
constexpr int kHoverVariant = 1;
constexpr int kChosenVariant = 2;

int IconIndex(int page, int variant) { return (page == 1 ? kVariants : 0) + variant; }

}  // namespace

const char* CWorldMapScreen::PlaceCode(int id, int placePage, int variant) {
  if (id < 0 || id >= kPlaces) return "";
  return kLayout[id].codes[(variant == 1 ? 0 : 2) + (placePage == 1 ? 1 : 0)];
}

void CWorldMapScreen::Init(const char* package) {
  if (package) OpenImagePackage(package);
  std::error_code error;
  imageDirectory = std::filesystem::current_path(error).string();
  nightBackground.SetDirectory("");
  nightBackground.Load("map01", 640, 480, 0);
  dayBackground.SetDirectory("");
  dayBackground.Load("map00", 640, 480, 0);
  for (int id = 0; id < kPlaces; ++id) {
    CWorldMapPlace& place = places[id];
    const PlaceLayout& layout = kLayout[id];
    place.id = id;
    place.page = 0;
    place.variant = 0;
    place.enabled = 0;
    place.state = 0;
    for (int icon = 0; icon < CWorldMapPlace::kIcons; ++icon) {
      char name[16];
      std::snprintf(name, sizeof name, icon < kVariants ? "mp_d%02d%d" : "mp_n%02d%d", id + 1, icon % kVariants + 1);
      place.icons[icon].SetDirectory("");
      place.icons[icon].Load(name, layout.width, layout.height, 0);
      place.icons[icon].SetPosition(layout.x, layout.y);
      if (place.icons[icon].sprite) ShowSprite(place.icons[icon].sprite, 0);
    }
    place.label.sprite = 0;  // screen pixels: the label's origin is (0, 0)
    place.label.SetRect(layout.x, layout.y, layout.x + layout.width, layout.y + layout.height);
  }
  if (package) OpenImagePackage(nullptr);
  chosenPlace = -1;
  OnMouseMove(1, 1);
  switching = busy = afterSwitch = open = selecting = fadeFrame = 0;
  SavePixels();
  pixelFormat = SpritePixelFormat::FromCode(GetPixelFormatCode());
}

void CWorldMapScreen::SetPlaceState(int id, int enabled, int placePage, int variant) {
  for (CWorldMapPlace& place : places) {
    if (place.id != id) continue;
    place.enabled = enabled;
    place.page = placePage;
    place.variant = variant;
  }
  OnMouseMove(1, 1);
}

void CWorldMapScreen::Open(int currentPlace, int enabled, int shownPage, int variant) {
  chosenPlace = currentPlace;
  chosenEnabled = enabled;
  chosenPage = shownPage;
  chosenVariant = variant;
  page = shownPage;
  open = 1;
  for (CWorldMapPlace& place : places) {
    if (place.enabled && !*PlaceCode(place.id, place.page, place.variant)) place.enabled = 0;
  }
  OnMouseMove(1, 1);
}

void CWorldMapScreen::ShowOnly(CWorldMapPlace& place, int placePage, int variant) {
  for (int icon = 0; icon < CWorldMapPlace::kIcons; ++icon) {
    if (place.icons[icon].sprite) ShowSprite(place.icons[icon].sprite, icon == IconIndex(placePage, variant) ? 1 : 0);
  }
}

void CWorldMapScreen::OnMouseMove(int x, int y) {
  if (!open || busy || selecting) return;
  for (CWorldMapPlace& place : places) {
    if (!place.enabled) continue;
    place.state = place.label.HoverTest(x, y) == 1 ? 1 : 0;
    ShowOnly(place, page, place.state == 1 ? kHoverVariant : 0);
  }
  for (CWorldMapPlace& place : places) {
    if (place.id == chosenPlace) ShowOnly(place, page, kChosenVariant);
  }
}

void CWorldMapScreen::OnMouseDown(int x, int y) {
  if (!open || busy) return;
  for (CWorldMapPlace& place : places) {
    if (!place.enabled || place.label.PressTest(x, y) != 2) continue;
    ShowOnly(place, page, kChosenVariant);
    place.state = 2;
    if (chosenPlace >= 0 && chosenPlace < kPlaces && !places[chosenPlace].enabled) {
      ShowOnly(places[chosenPlace], page, -1);
    }
    chosenEnabled = place.enabled;
    chosenPage = place.page;
    chosenVariant = place.variant;
    chosenPlace = place.id;
    const int earlierSwitch = afterSwitch;
    if (place.page != page) {
      StartPageSwitch(place.page);
      afterSwitch = 1;
    }
    selecting = 1;
    if (!earlierSwitch) fadeFrame = 0;
  }
  for (CWorldMapPlace& place : places) {
    if (place.id == chosenPlace) continue;
    place.state = 0;
    if (place.enabled) ShowOnly(place, page, 0);
  }
}

void CWorldMapScreen::StartPageSwitch(int target) {
  switching = 1;
  busy = 1;
  switchFrame = 0;
  switchDirection = target == 1 ? 1 : 2;
}

void CWorldMapScreen::SavePixels() {
  dayPixels = CopySpritePixels(dayBackground.sprite);
  nightPixels = CopySpritePixels(nightBackground.sprite);
  for (CWorldMapPlace& place : places) {
    for (int icon = 0; icon < CWorldMapPlace::kIcons; ++icon) {
      place.savedIcons[icon] = CopySpritePixels(place.icons[icon].sprite);
    }
  }
}

void CWorldMapScreen::RestorePixels() {
  WriteSpritePixels(dayBackground.sprite, dayPixels);
  WriteSpritePixels(nightBackground.sprite, nightPixels);
  for (CWorldMapPlace& place : places) {
    for (int icon = 0; icon < CWorldMapPlace::kIcons; ++icon) {
      WriteSpritePixels(place.icons[icon].sprite, place.savedIcons[icon]);
    }
  }
}

void CWorldMapScreen::HideAll() {
  for (CWorldMapPlace& place : places) ShowOnly(place, 0, -1);
  if (dayBackground.sprite) ShowSprite(dayBackground.sprite, 0);
  if (nightBackground.sprite) ShowSprite(nightBackground.sprite, 0);
}

void CWorldMapScreen::Update() {
  if (!open) {
    HideAll();
    return;
  }
  if (Background(page).sprite) ShowSprite(Background(page).sprite, 1);
  if (Background(1 - page).sprite) ShowSprite(Background(1 - page).sprite, 0);
  if (switching) {
    StepSwitch();
  } else if (selecting) {
    StepFade();
  }
}

void CWorldMapScreen::StepSwitch() {
  const int step = ++switchFrame;
  const int other = 1 - page;
  for (CWorldMapPlace& place : places) {
    if (!place.enabled) continue;
    const int variant = place.state;
    BlendSpritePixels(place.icons[IconIndex(page, variant)].sprite, place.savedIcons[IconIndex(page, variant)],
                      place.savedIcons[IconIndex(other, variant)], step, pixelFormat);
  }
  BlendSpritePixels(Background(page).sprite, BackgroundPixels(page), BackgroundPixels(other), step, pixelFormat);
  if (step < kSwitchFrames) return;
  switchFrame = 0;
  switching = 0;
  RestorePixels();
  page = switchDirection == 1 ? 1 : 0;
  busy = 0;
  // The refresh leaves the chosen place's icon on the new page.
  const int keepSelecting = selecting;
  selecting = 0;
  OnMouseMove(1, 1);
  selecting = keepSelecting;
}

void CWorldMapScreen::StepFade() {
  ++fadeFrame;
  DarkenSpritePixels(Background(page).sprite, pixelFormat);
  for (CWorldMapPlace& place : places) {
    if (!place.enabled) continue;
    const int variant = place.id == chosenPlace ? kChosenVariant : place.state;
    ShowOnly(place, page, variant);
    DarkenSpritePixels(place.icons[IconIndex(page, variant)].sprite, pixelFormat);
  }
  if (fadeFrame < (afterSwitch ? kFadeFramesAfterSwitch : kFadeFrames)) return;
  Report();
  afterSwitch = 0;
  selecting = 0;
  fadeFrame = 0;
}

void CWorldMapScreen::Report() {
  const char* code = PlaceCode(chosenPlace, chosenPage, chosenVariant);
  std::string sceneFile;
  int point = 0;
  if (std::strlen(code) == 7) {
    sceneFile = std::string(code, 4) + ".sb";
    point = (code[5] - '0') * 10 + (code[6] - '0');
  }
  HideAll();
  open = 0;
  if (resultCallback) resultCallback(sceneFile.c_str(), point);
}
