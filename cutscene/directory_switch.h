#pragma once
#include <string>

// Switches one of the engine's data directories for a load and puts the old
// one back when it goes, whatever the load did. An empty directory switches
// nothing.
class ScopedDirectory {
 public:
  ScopedDirectory(std::string (*get)(), void (*set)(const char*), const std::string& directory)
      : set_(directory.empty() ? nullptr : set) {
    if (!set_) return;
    saved_ = get();
    set_(directory.c_str());
  }
  ~ScopedDirectory() {
    if (set_) set_(saved_.c_str());
  }
  ScopedDirectory(const ScopedDirectory&) = delete;
  ScopedDirectory& operator=(const ScopedDirectory&) = delete;

 private:
  void (*set_)(const char*);
  std::string saved_;
};
