#pragma once
#include <string>

// The description of the keyboard layout's input method, the name an
// input-method bar shows. The system offers no input-method interface here,
// so a layout never has one unless a test sets it.
namespace plat {

// With a null buffer: the description's length in bytes (0 when there is
// none). Otherwise copies at most size bytes, without a terminator when the
// description fills them, and answers the count copied.
int GetInputMethodDescription(char* buffer, int size);

// Tests: the description the current layout reports (empty: none).
void SetTestInputMethodDescription(const std::string& description);

}  // namespace plat
