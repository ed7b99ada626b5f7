#pragma once

// The engine's two message boxes. Both format their text into 256 bytes
// (longer texts are cut).

// A box titled "Fatal message", then CloseEngine(0): the engine ends, the
// window stays.
void ShowFatalMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
// A box titled "Error message"; the engine goes on. Answers the box's result.
int ShowErrorMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
