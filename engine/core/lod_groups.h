#pragma once

// Level-of-detail groups, kept in the world's two lists (groups of nodes and
// groups of composites).
struct LODGROUPDESC;

// Unlinks every member from its group and frees both lists of the world.
void FreeLodGroupLists();
