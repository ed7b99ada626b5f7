#pragma once
#include <string>
#include <string_view>

// Text and path helpers shared by every engine loader. Engine paths use '\'
// as the only directory separator; the platform layer resolves them.

// 1 when both texts are equal, else 0 (0 also when either is null); with
// ignoreCase, ASCII letters match in either case.
int MatchText(const char* a, const char* b, int ignoreCase);

// Splits a path into drive ("c:"), directory (up to and including the last
// '\'), base name (up to the first '.') and extension (the rest, from that
// '.'). Absent parts come back empty; any output may be null.
void SplitPath(std::string_view path, std::string* drive, std::string* directory, std::string* baseName,
               std::string* extension);

// Joins the parts as they are: directories carry their trailing '\'.
std::string MakePath(std::string_view drive, std::string_view directory, std::string_view baseName,
                     std::string_view extension);

// 1 when the file can be opened for reading; 0 for an empty path.
int FileExists(std::string_view path);

// ASCII capitals to small letters, in place.
void LowerCase(std::string& text);
