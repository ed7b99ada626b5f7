#pragma once

// A frame countdown that the battle's props share.
class CXPCountDownTimer {
 public:
  virtual ~CXPCountDownTimer() = default;

  // Mode 1 sets the count, mode 2 adds to it, any other mode does nothing.
  void Set(int n, int mode) {
    if (mode == 1) count = n;
    else if (mode == 2) count += n;
  }
  void Start() { running = 1; }
  void Stop() { count = running = 0; }
  // The running flag while frames remain; 0 once the count ran out (stopped).
  int CountDown(int frames) {
    if (count > frames) {
      count -= frames;
      return running;
    }
    Stop();
    return 0;
  }
  int IsZero() const { return count == 0; }

  int count = 0;
  int running = 0;
};
