#pragma once
#include <string>
#include <vector>

// One line of "HitVertice.txt": an enemy id and the four points a body aims
// at (head front, head behind, body front, body behind).
struct HITVERTEXDESC {
  char id[64] = {};
  float points[12] = {};
};

// Reads the "#Describle" count, then that many lines after "#Begin"; lines
// after "#EndDescrible" are not read. A missing file gives no entries.
std::vector<HITVERTEXDESC> LoadHitVertices(const std::string& path);
// The entry whose id is the number `id`; null when none.
const HITVERTEXDESC* FindHitVertices(const std::vector<HITVERTEXDESC>& table, int id);
