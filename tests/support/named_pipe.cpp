#include "tests/support/named_pipe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

namespace testsupport {
namespace {

constexpr std::chrono::seconds kGrace{5};

}  // namespace

NamedPipe::NamedPipe(const std::string& path) : path_(std::filesystem::absolute(path).string()) {
  ::unlink(path_.c_str());
  made_ = ::mkfifo(path_.c_str(), 0600) == 0;
  if (made_) guard_ = std::thread([this] { Guard(); });
}

NamedPipe::~NamedPipe() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  stop_.notify_all();
  if (guard_.joinable()) guard_.join();
  struct stat st;
  if (made_ && ::lstat(path_.c_str(), &st) == 0 && S_ISFIFO(st.st_mode)) ::unlink(path_.c_str());
}

// A writer's open without waiting succeeds only while a reader has the pipe
// open. Probing only once per grace period: a reader that opens the pipe
// without waiting and lets it go at once is never seen, one stuck in its
// open is let go with an empty pipe.
void NamedPipe::Guard() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stop_.wait_for(lock, kGrace, [this] { return stopping_; })) {
    const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISFIFO(st.st_mode)) readerWaited_ = true;  // not a file put in its place
    ::close(fd);
  }
}

}  // namespace testsupport
