// Paces the letting-run of window messages during long copies. Each run is a round trip to the
// window system even when nothing is pending, so after every 2048-byte block it would cost more
// than the copy itself; a person cannot tell a 16 ms pace from an immediate one.
#pragma once

#include <cstdint>

class TMessagePacer {
 public:
  static constexpr uint32_t kIntervalMilliseconds = 16;

  // True when messages are due at `now` (a millisecond clock that may wrap): on the first call,
  // once the interval has passed since the last run, and when the clock went backwards.
  bool Due(uint64_t now);
  // Notes that messages ran at `now` through another path, so the interval starts again.
  void Ran(uint64_t now);

  // Lets messages run when they are due.
  void Tick();
  // Lets messages run now.
  void Now();

 private:
  bool started_ = false;
  uint64_t last_ = 0;
};
