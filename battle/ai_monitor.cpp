#include "battle/ai_monitor.h"

#include <cstdio>
#include <cstring>

#include "base/text_tokenizer.h"
#include "battle/f_enemy.h"
#include "battle/unit_states.h"
#include "engine/core/device_setup.h"

namespace {

constexpr char kNamesFile[] = ".\\Creature\\Battle\\Info.txt";
constexpr int kLineGap = 20;
constexpr int kHalfCharWidth = 4;

}  // namespace

CAIMonitor::CAIMonitor() : CAIMonitor(kNamesFile) {}

CAIMonitor::CAIMonitor(const char* namesFile) {
  Reset();
  LoadNames(namesFile);
}

CAIMonitor::~CAIMonitor() { Attach(nullptr); }

void CAIMonitor::LoadNames(const char* file) {
  CTextTokenizer tokens;
  if (tokens.Open(file) < 0) return;
  char word[CTextTokenizer::kWordSize];
  tokens.SkipLine(1);
  for (int number = 0; *tokens.Cursor() != 0; ++number) {
    const int64_t before = tokens.Tell();
    tokens.ReadWord(word, 2);
    names[number] = word;
    if (tokens.Tell() == before) break;
  }
}

void CAIMonitor::Reset() {
  enabled = 1;
  enemy = nullptr;
  stateNumber = 0;
  switches.clear();
}

int CAIMonitor::Attach(CFEnemy* watched) {
  if (enemy && enemy != watched) enemy->SetMonitor(nullptr);
  enemy = watched;
  switches.clear();
  if (!enemy) return 0;
  enemy->SetMonitor(this);
  const int count = static_cast<int>(enemy->switches->entries.size());
  for (int i = 1; i <= count; ++i)
    if (const int n = enemy->switches->GetAt(i); n >= 1) switches.push_back(n);
  return count;
}

int CAIMonitor::GetStateNumber() const { return enemy ? UnitStateNumber(enemy->state) : 0; }

int CAIMonitor::GetName(int number, char* buffer) const {
  std::memset(buffer, 0, kNameSize);
  auto found = names.find(number);
  if (found == names.end()) return 0;
  std::snprintf(buffer, kNameSize, "%s", found->second.c_str());
  return 1;
}

std::string CAIMonitor::Name(int number) const {
  auto found = names.find(number);
  return found == names.end() ? std::string() : found->second;
}

void CAIMonitor::Line(int x, int y, const std::string& text, int red, int green, int blue) {
  const int left = x - static_cast<int>(text.size()) * kHalfCharWidth;
  drawn.push_back({left, y, text, red, green, blue});
  DrawDebugText(left, y, text.c_str(), red, green, blue);
}

void CAIMonitor::Draw(int x, int y) {
  drawn.clear();
  if (!enabled || !enemy) return;
  if (enemy->flags & CFightingMan::kDown) {
    Attach(nullptr);
    return;
  }
  char model[32] = {};
  enemy->GetModelBaseName(model, sizeof model);
  int at = y + kLineGap;
  Line(x, at, std::string("ID : ") + model, 0, 255, 0);
  stateNumber = GetStateNumber();
  Line(x, at += kLineGap, "Current Status:" + Name(stateNumber), 0, 255, 0);
  Line(x, at += kLineGap, "Last Behavior:" + Name(enemy->behaviour), 0, 255, 0);
  Line(x, at += kLineGap, "=== ENABLE AI ===", 255, 0, 0);
  for (int n : switches) {
    if (!names.count(n)) continue;
    char text[16 + kNameSize];
    std::snprintf(text, sizeof text, "(%2d) %s", n, names.at(n).c_str());
    Line(x, at += kLineGap, text, 0, 255, 0);
  }
}
