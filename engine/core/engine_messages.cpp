#include "engine/core/engine_messages.h"

#include <cstdarg>
#include <cstdio>

#include "engine/core/lifecycle.h"
#include "platform/message_box.h"

namespace {

int ShowBox(const char* title, const char* format, va_list args) {
  char text[256];
  std::vsnprintf(text, sizeof text, format, args);
  return plat::ShowMessageBox(title, text);
}

}  // namespace

void ShowFatalMessage(const char* format, ...) {
  va_list args;
  va_start(args, format);
  ShowBox("Fatal message", format, args);
  va_end(args);
  CloseEngine(0);
}

int ShowErrorMessage(const char* format, ...) {
  va_list args;
  va_start(args, format);
  int result = ShowBox("Error message", format, args);
  va_end(args);
  return result;
}
