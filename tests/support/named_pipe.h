#pragma once
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace testsupport {

// A named pipe made in place of a data file. Opening a pipe to read waits
// until a writer comes: should the code under test wait so, the pipe's guard
// comes as that writer after a grace period (real time, spent only by a test
// that is failing), so the test goes on and fails instead of hanging. The
// pipe is removed on destruction, unless something replaced it by then.
class NamedPipe {
 public:
  // Replaces whatever stands at path.
  explicit NamedPipe(const std::string& path);
  ~NamedPipe();
  NamedPipe(const NamedPipe&) = delete;
  NamedPipe& operator=(const NamedPipe&) = delete;

  bool Made() const { return made_; }
  // True once a reader was found holding the pipe open (stuck in its open).
  bool ReaderWaited() const { return readerWaited_; }

 private:
  void Guard();

  std::string path_;
  bool made_ = false;
  std::atomic<bool> readerWaited_{false};
  std::mutex mutex_;
  std::condition_variable stop_;
  bool stopping_ = false;
  std::thread guard_;
};

}  // namespace testsupport
