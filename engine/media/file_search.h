#pragma once
#include <string>

// Disk searches for loose asset files. Each answers 1 with the path of an
// existing file, else 0 (also while the engine is closed or for a null name).
//
// The name as given is tried first. Otherwise a name with a directory is
// tried there with the kind's extensions; a bare name is tried in the
// override directory, then in the kind's directory. A bare name ending in two
// digits (at least 3 characters) may be an entry of a set file: ab12 is entry
// 12 of ab.qst, answered as ...\ab12.qst for the reader to take apart.

// Sets ".qst"; ".qbt", ".bmp", ".qbm". Light maps are searched here too.
int FindTextureFile(std::string& path, const char* name);
// Sets ".qst"; ".qbm".
int FindMipmapTextureFile(std::string& path, const char* name);
// Sets ".qsi" (image directory only for bare names); ".qbi", ".bmp".
int FindImageFile(std::string& path, const char* name);
// ".qb3", ".qx3"; no sets.
int FindModelFile(std::string& path, const char* name);
