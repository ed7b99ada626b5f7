#pragma once

// The walk keys held down, as a direction mask for CFieldWalker::Step.
// MINIMAL: field key bindings are not installed yet; the mask stays 0.
extern int g_walkKeyMask;
