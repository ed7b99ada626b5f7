#pragma once

// The story's flags as the menu screens read them; the game core's event
// runner answers.
class IStoryFlags {
 public:
  virtual ~IStoryFlags() = default;
  // 1 when story flag n is set.
  virtual int TestFlag(int n) const = 0;
};
