#include "ui/system_page.h"

#include <algorithm>

#include "database/game_resource.h"
#include "database/system_config.h"
#include "platform/keys.h"
#include "ui/am_button.h"
#include "ui/am_scroll_bar.h"
#include "ui/am_text_styles.h"
#include "ui/confirm_dlg.h"
#include "ui/menu_windows.h"
#include "ui/screen_manager.h"

namespace {

constexpr int kSliderSkin = 1;
constexpr int kSliderRange = 100;
constexpr int kSliderPage = 10;
constexpr int kPressSound = 0;
constexpr int kHoverSound = 1;
constexpr int kDefaultsSound = 5;

struct SliderPlace {
  int length, x, y;
};
constexpr SliderPlace kSliderPlaces[] = {{175, 82, 33}, {175, 82, 68}, {118, 138, 233}, {118, 445, 100}};
constexpr int kKeyButtonY[] = {145, 168, 189, 211};
constexpr int kKeyTextY[] = {144, 166, 188, 210};

struct KeyMessage {
  int key, message;
};
constexpr KeyMessage kKeyMessages[] = {
    {8, 90},    {16, 85},   {17, 86},   {18, 87},   {32, 88},   {33, 96},   {34, 97},   {35, 95},
    {36, 94},   {37, 83},   {38, 81},   {39, 84},   {40, 82},   {45, 92},   {46, 93},   {106, 122},
    {107, 120}, {108, 50},  {109, 121}, {110, 119}, {111, 123}, {186, 103}, {187, 100}, {188, 105},
    {189, 99},  {190, 106}, {191, 107}, {192, 98},  {219, 101}, {220, 108}, {221, 102}, {222, 104},
};
constexpr int kNumpadFirstMessage = 109;

uint8_t* WalkKey(CSystemConfig& config, int index) {
  switch (index) {
    case 0: return &config.keyForward;
    case 1: return &config.keyBack;
    case 2: return &config.keyLeft;
    case 3: return &config.keyRight;
    default: return nullptr;
  }
}

CAmButton* PageButton(const char* image, int width, int height, int x, int y, int pressSound, CAmObject* parent) {
  auto* button = new CAmButton(image, width, height, 0, pressSound, kHoverSound, parent);
  button->SetPosition(x, y);
  return button;
}

// A button acting on the press only: it stays pressed until told otherwise.
CAmButton* SwitchButton(const char* image, int width, int height, int x, int y, CAmObject* parent) {
  CAmButton* button = PageButton(image, width, height, x, y, kPressSound, parent);
  button->releaseEnabled = 0;
  return button;
}

}  // namespace

int KeyNameMessage(int virtualKey) {
  if (virtualKey >= static_cast<int>(plat::VK_NUMPAD0) && virtualKey <= static_cast<int>(plat::VK_NUMPAD0) + 9)
    return kNumpadFirstMessage + virtualKey - static_cast<int>(plat::VK_NUMPAD0);
  for (const KeyMessage& k : kKeyMessages)
    if (k.key == virtualKey) return k.message;
  return 0;
}

std::string KeyName(int virtualKey) {
  if (const int message = KeyNameMessage(virtualKey)) {
    const char* text = GetMessageString(message);
    return text ? text : "";
  }
  const bool digit = virtualKey >= '0' && virtualKey <= '9';
  const bool letter = virtualKey >= 'A' && virtualKey <= 'Z';
  return digit || letter ? std::string(1, static_cast<char>(virtualKey)) : std::string();
}

CSystemPage::CSystemPage(CGameDataLoader* loader, CGameResource* resource, CGDItemPool* itemPool, int allowSave,
                         int allowLoad, int allowQuit, CAmObject* owner)
    : CAmPage("ifi0600", 640, 357, owner),
      loader(loader),
      resource(resource),
      itemPool(itemPool),
      allowSave(allowSave),
      allowLoad(allowLoad),
      allowQuit(allowQuit) {}

CSystemPage::~CSystemPage() {
  for (CAmScrollBar* slider : sliders) delete slider;
  delete defaultsButton;
  delete saveLoadButton;
  delete quitButton;
  for (CAmButton* b : shadowButtons) delete b;
  for (CAmButton* b : effectButtons) delete b;
  for (CAmButton* b : keyButtons) delete b;
  for (CAmFancyText* t : keyTexts) delete t;
}

void CSystemPage::Build() {
  for (int i = 0; i < kSliders; ++i) {
    const SliderPlace& p = kSliderPlaces[i];
    auto* bar = new CAmScrollBar(i, kSliderSkin, p.length, this);
    bar->SetPosition(p.x, p.y);
    bar->SetSubSteps(1);
    bar->SetPageSteps(kSliderPage, kSliderPage);
    bar->SetRange(kSliderRange);
    sliders[static_cast<size_t>(i)] = bar;
  }
  defaultsButton = PageButton("if6b0200", 96, 21, 212, 312, kDefaultsSound, this);
  defaultsButton->hoverValue = kHelpDefaults;
  if (allowSave || allowLoad) {
    saveLoadButton = PageButton("if6b0300", 96, 21, 509, 285, kPressSound, this);
    saveLoadButton->hoverValue = kHelpSaveLoad;
  }
  if (allowQuit) {
    quitButton = PageButton("if6b0400", 96, 21, 509, 311, kPressSound, this);
    quitButton->hoverValue = kHelpQuit;
  }
  shadowButtons = {SwitchButton("if6b0100", 16, 15, 476, 57, this), SwitchButton("if6b0100", 16, 15, 544, 57, this)};
  effectButtons = {SwitchButton("if6b0100", 16, 15, 476, 79, this), SwitchButton("if6b0100", 16, 15, 544, 79, this)};
  for (int i = 0; i < kWalkKeys; ++i) {
    // Imageless: a keyed surface gives the button its place and size.
    auto* button = new CAmButton(nullptr, 220, 16, i, kPressSound, kHoverSound, this);
    button->SetBlankImage(g_amColorKey.red, g_amColorKey.green, g_amColorKey.blue, 220, 16);
    button->AttachTo(this, 0);
    button->SetPosition(62, kKeyButtonY[i]);
    button->releaseEnabled = 0;
    keyButtons[static_cast<size_t>(i)] = button;
    auto* text = new CAmFancyText(80, 16, 0, this, nullptr);
    text->SetFont(nullptr, 16, 16, 0, 0, 0);
    text->smooth = 1;
    text->SetPosition(220, kKeyTextY[i]);
    text->SetPulse(0);
    keyTexts[static_cast<size_t>(i)] = text;
  }
  Refresh();
}

void CSystemPage::ShowSwitch(std::array<CAmButton*, 2>& pair, int on) {
  pair[0]->SetPressed(on ? 1 : 0);
  pair[1]->SetPressed(on ? 0 : 1);
}

void CSystemPage::ShowKey(int index) {
  const uint8_t* key = g_systemConfig ? WalkKey(*g_systemConfig, index) : nullptr;
  CAmFancyText* text = keyTexts[static_cast<size_t>(index)];
  if (text) text->SetText(key ? KeyName(*key).c_str() : "");
}

void CSystemPage::Refresh() {
  if (!built && !sliders[0]) return;
  CSystemConfig* config = g_systemConfig;
  if (config) {
    // The bar itself does not clamp.
    const int values[] = {config->musicVolume, config->soundVolume, config->GetViewDistanceSlider(),
                          config->GetDetailDistanceSlider()};
    for (int i = 0; i < kSliders; ++i)
      sliders[static_cast<size_t>(i)]->SetBarPosition(std::clamp(values[i], 0, kSliderRange - 1));
    ShowSwitch(shadowButtons, config->shadows);
    ShowSwitch(effectButtons, config->effects);
  }
  for (int i = 0; i < kWalkKeys; ++i) ShowKey(i);
}

void CSystemPage::StopWaiting() {
  if (waitingKey < 0) return;
  keyButtons[static_cast<size_t>(waitingKey)]->Release();
  keyTexts[static_cast<size_t>(waitingKey)]->SetPulse(0);
  waitingKey = -1;
}

int CSystemPage::OnKeyDown(int virtualKey, int) {
  if (waitingKey < 0) return 0;
  if (virtualKey == static_cast<int>(plat::VK_ESCAPE)) return 1;
  const std::string name = KeyName(virtualKey);
  if (!name.empty() && g_systemConfig) {
    *WalkKey(*g_systemConfig, waitingKey) = static_cast<uint8_t>(virtualKey);
    ShowKey(waitingKey);
  }
  StopWaiting();
  return 1;
}

void CSystemPage::SliderMoved(CAmScrollBar* bar, int position) {
  CSystemConfig* config = g_systemConfig;
  if (!config) return;
  switch (bar->id) {
    case kMusic: config->SetMusicVolume(position); break;
    case kSound: config->SetSoundVolume(position); break;
    case kView: config->SetViewDistanceSlider(position); break;
    case kDetail: config->SetDetailDistanceSlider(position); break;
    default: break;
  }
}

int CSystemPage::OnMessage(int id, int a, int b, CAmObject* sender) {
  if (id == AMM_SCROLL_PREVSTEP || id == AMM_SCROLL_NEXTSTEP || id == AMM_SCROLLING) {
    if (auto* bar = dynamic_cast<CAmScrollBar*>(sender);
        bar && std::find(sliders.begin(), sliders.end(), bar) != sliders.end()) {
      SliderMoved(bar, a);
      return 1;
    }
  }
  for (int i = 0; i < kWalkKeys; ++i) {
    if (sender != keyButtons[static_cast<size_t>(i)]) continue;
    if (id == AMM_BUTTONDOWN) {
      waitingKey = i;
      keyTexts[static_cast<size_t>(i)]->SetPulse(1);
    } else if (id == kAmmPressOutside) {
      keyButtons[static_cast<size_t>(i)]->Release();
      keyTexts[static_cast<size_t>(i)]->SetPulse(0);
      if (waitingKey == i) waitingKey = -1;
    }
    return 1;
  }
  if (id == AMM_BUTTONDOWN && g_systemConfig) {
    for (auto* pair : {&shadowButtons, &effectButtons}) {
      const int index = sender == (*pair)[0] ? 0 : sender == (*pair)[1] ? 1 : -1;
      if (index < 0) continue;
      const uint8_t on = index == 0 ? 1 : 0;
      (pair == &shadowButtons ? g_systemConfig->shadows : g_systemConfig->effects) = on;
      (*pair)[static_cast<size_t>(1 - index)]->Release();
      return 1;
    }
  }
  if (id == AMM_BUTTONUP) {
    if (sender == defaultsButton) {
      if (g_systemConfig) g_systemConfig->SetDefaults();
      Refresh();
      return 1;
    }
    if (sender == saveLoadButton && saveLoadButton) {
      OpenSaveList(allowSave, loader, resource, owner);
      return 1;
    }
    if (sender == quitButton && quitButton) {
      new CTwConfirmDlg(CTwConfirmDlg::kQuit, this);
      return 1;
    }
  }
  if (id == AMM_ONBUTTON_OK) {
    PostMessage(AMM_USER + kQuitToTitle, 0, 0, this);
    return 1;
  }
  if (id == AMM_ONBUTTON_CANCEL) return 1;
  if (id == AMM_MOUSEHOVER && sender &&
      (sender == defaultsButton || sender == saveLoadButton || sender == quitButton)) {
    // Sent from the button, so the window knows which control's leave ends the help.
    PostMessage(AMM_USER + kHoverHelp, static_cast<CAmButton*>(sender)->hoverValue, 0, sender);
    return 1;
  }
  return CAmPage::OnMessage(id, a, b, sender);
}
