#include "tests/support/input_script.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

#include "platform/keys.h"
#include "platform/window_simulate.h"

namespace testsupport {
namespace {

constexpr int kScancodeCount = 512;

bool ParseNumber(const std::string& word, int* value) {
  if (word.empty()) return false;
  char* end = nullptr;
  long v = std::strtol(word.c_str(), &end, 0);
  if (*end != '\0' || v < -100000 || v > 100000) return false;
  *value = static_cast<int>(v);
  return true;
}

bool ParseKey(const std::string& word, int* vk) {
  if (word.size() == 1 && std::isalnum(static_cast<unsigned char>(word[0]))) {
    *vk = std::toupper(static_cast<unsigned char>(word[0]));
    return true;
  }
  return ParseNumber(word, vk) && *vk > 0 && *vk < 256;
}

int ScancodeOf(int vk) {
  for (int s = 0; s < kScancodeCount; ++s)
    if (static_cast<int>(plat::VirtualKeyFromScancode(s)) == vk) return s;
  return -1;
}

bool HasInput(const std::vector<InputEvent>& pass) {
  for (const InputEvent& e : pass)
    if (e.kind != InputEvent::Checkpoint) return true;
  return false;
}

// One event word with its arguments into the line's passes.
bool ParseEvent(std::istringstream& in, InputLine* line, std::string* why) {
  std::string verb;
  in >> verb;
  std::vector<InputEvent>& now = line->passes.back();
  InputEvent e;
  if (verb == "down" || verb == "up" || verb == "key") {
    std::string k;
    in >> k;
    if (!ParseKey(k, &e.code)) return *why = "bad key '" + k + "'", false;
    if (ScancodeOf(e.code) < 0) return *why = "no keyboard key gives " + k, false;
    e.kind = verb == "up" ? InputEvent::KeyUp : InputEvent::KeyDown;
    now.push_back(e);
    if (verb == "key") {
      e.kind = InputEvent::KeyUp;
      line->passes.push_back({e});
    }
    return true;
  }
  if (verb == "move" || verb == "ldown" || verb == "lup" || verb == "rdown" || verb == "rup" || verb == "lclick" ||
      verb == "rclick") {
    std::string xs, ys;
    in >> xs >> ys;
    if (!ParseNumber(xs, &e.x) || !ParseNumber(ys, &e.y)) return *why = "bad position", false;
    if (verb == "move") {
      e.kind = InputEvent::MouseMove;
      now.push_back(e);
      return true;
    }
    e.code = verb[0] == 'l' ? 1 : 3;
    e.kind = verb.substr(1) == "up" ? InputEvent::ButtonUp : InputEvent::ButtonDown;
    now.push_back(e);
    if (verb.substr(1) == "click") {
      e.kind = InputEvent::ButtonUp;
      line->passes.push_back({e});
    }
    return true;
  }
  if (verb == "close") {
    e.kind = InputEvent::Close;
    now.push_back(e);
    return true;
  }
  if (verb == "check") {
    in >> e.name;
    if (e.name.empty()) return *why = "check without a name", false;
    e.kind = InputEvent::Checkpoint;
    now.push_back(e);
    return true;
  }
  *why = "unknown event '" + verb + "'";
  return false;
}

}  // namespace

bool ParseInputScript(const std::string& text, std::vector<InputLine>* lines, std::string* error) {
  lines->clear();
  std::istringstream all(text);
  std::string raw;
  for (int number = 1; std::getline(all, raw); ++number) {
    std::string body = raw.substr(0, raw.find('#'));
    std::istringstream first(body);
    std::string wait;
    if (!(first >> wait)) continue;
    InputLine line;
    line.lineNumber = number;
    line.passes.emplace_back();
    std::string why;
    if (!ParseNumber(wait, &line.waitFrames) || line.waitFrames < 0) why = "bad frame count '" + wait + "'";
    std::string rest;
    std::getline(first, rest);
    std::istringstream events(rest);
    for (std::string part; why.empty() && std::getline(events, part, ';');) {
      std::istringstream in(part);
      std::string extra;
      if (!ParseEvent(in, &line, &why)) break;
      if (in >> extra) why = "unexpected '" + extra + "'";
    }
    if (why.empty() && line.passes.front().empty() && line.passes.size() == 1) why = "no event";
    if (!why.empty()) {
      *error = "line " + std::to_string(number) + ": " + why;
      return false;
    }
    lines->push_back(std::move(line));
  }
  return true;
}

void DeliverInputEvent(plat::WindowHandle window, const InputEvent& e, PointerPosition* pointer) {
  switch (e.kind) {
    case InputEvent::KeyDown:
    case InputEvent::KeyUp: plat::SimulateKey(window, ScancodeOf(e.code), e.kind == InputEvent::KeyDown); break;
    case InputEvent::MouseMove:
      plat::SimulateMouseMotion(window, e.x, e.y, false, e.x - pointer->x, e.y - pointer->y);
      *pointer = {e.x, e.y};
      break;
    case InputEvent::ButtonDown:
    case InputEvent::ButtonUp:
      plat::SimulateMouseButton(window, e.code, e.kind == InputEvent::ButtonDown, 1, e.x, e.y);
      *pointer = {e.x, e.y};
      break;
    case InputEvent::Close: plat::SimulateWindowEvent(window, plat::SimulatedWindowEvent::Close); break;
    case InputEvent::Checkpoint: break;
  }
}

int PlayInputScript(plat::WindowHandle window, const std::vector<InputLine>& lines,
                    const std::function<void()>& runPass, const std::function<void(const std::string&)>& checkpoint) {
  int passes = 0;
  PointerPosition pointer;
  for (const InputLine& line : lines) {
    for (int i = 0; i < line.waitFrames; ++i, ++passes) runPass();
    for (const std::vector<InputEvent>& pass : line.passes) {
      for (const InputEvent& e : pass) {
        if (e.kind == InputEvent::Checkpoint) checkpoint(e.name);
        else DeliverInputEvent(window, e, &pointer);
      }
      if (HasInput(pass)) {
        runPass();
        ++passes;
      }
    }
  }
  return passes;
}

}  // namespace testsupport
