#include "engine/core/engine_state.h"

int g_engineOpen = 0;
