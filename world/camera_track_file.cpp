#include "world/camera_track_file.h"

// MINIMAL: the file is not read yet; every camera-track file gives no cameras.
CCameraTrackFile::CCameraTrackFile(const char* /*path*/) {}
