#pragma once
#include <string>

// The per-kind data directories. Each slot holds a path ending in '\'; the
// engine's open sets them all to ".\". Calls do nothing (getters answer an
// empty text) while the engine is closed.

enum DATADIRECTORY {
  DATADIR_IMAGE,
  DATADIR_MODEL,
  DATADIR_SOUND,
  DATADIR_TEXTURE,
  DATADIR_SCENE,
  DATADIR_CREATURE,
  DATADIR_OVERRIDE,
  DATADIR_RESERVED1,
  DATADIR_RESERVED2,
  DATADIR_RESERVED3,
  DATADIR_COUNT
};

extern std::string g_dataDirectories[DATADIR_COUNT];

// 1 when the override directory held a file at the moment it was set: loose
// files there then win over package entries. Later copies do not change it.
extern int g_looseFilesFirst;

// A null path is ignored; an empty one stands for the working directory.
void SetImageDirectory(const char* path);
void SetModelDirectory(const char* path);
void SetSoundDirectory(const char* path);
void SetTextureDirectory(const char* path);
void SetSceneDirectory(const char* path);
void SetCreatureDirectory(const char* path);
void SetOverrideDirectory(const char* path);
void SetReservedDirectory1(const char* path);
void SetReservedDirectory2(const char* path);
void SetReservedDirectory3(const char* path);

std::string GetImageDirectory();
std::string GetSoundDirectory();
std::string GetTextureDirectory();
