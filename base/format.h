#pragma once
#include <cstdarg>
#include <string>

// printf-style formatting into a string of whatever length the text needs.
std::string FormatString(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatStringV(const char* format, va_list args);
