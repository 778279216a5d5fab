#include "system/internet_probe.h"

#include "platform/system_facts.h"

bool IsInternetAvailable() {
  bool available = true;
  try {
    available = platform::InternetOpenUrl(kInternetProbeAgent, kInternetProbeUrl);
  } catch (...) {
    // The answer stays as it was when the error came.
  }
  return available;
}
