#include "install/message_pacer.h"

#include "platform/process.h"

bool TMessagePacer::Due(uint64_t now) {
  if (started_ && now >= last_ && now - last_ < kIntervalMilliseconds) return false;
  Ran(now);
  return true;
}

void TMessagePacer::Ran(uint64_t now) {
  started_ = true;
  last_ = now;
}

void TMessagePacer::Tick() {
  if (Due(platform::ClockTicks())) platform::ProcessMessages();
}

void TMessagePacer::Now() {
  platform::ProcessMessages();
  Ran(platform::ClockTicks());
}
