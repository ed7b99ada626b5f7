#include "engine/core/frame_statistics.h"

FRAMESTATISTICS g_frameStatistics;
