#pragma once

// Frame presentation.

// Shows the back buffer; 0 while the engine is closed.
int FlipScreen();
