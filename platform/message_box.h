#pragma once
#include <functional>
#include <string>

// Modal message boxes: SDL's where there is a display, and always the same
// text on stderr. A test hook records (title, text) and returns at once.
namespace plat {

constexpr int kIdOk = 1;

using MessageBoxHook = std::function<int(const std::string& title, const std::string& text)>;

// Shows a plain OK box and answers the button pressed (kIdOk).
int ShowMessageBox(const std::string& title, const std::string& text);
void SetMessageBoxHook(MessageBoxHook hook);

}  // namespace plat
