#pragma once

// Engine-wide state. Every engine call first checks g_engineOpen and answers
// its failure value (0, -1, null or nothing) while it is clear.
extern int g_engineOpen;
