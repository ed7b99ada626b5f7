#pragma once

// The engine's texture table.

// Empties the table (engine open).
void ResetTextureTable();
