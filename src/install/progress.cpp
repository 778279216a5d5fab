#include "install/progress.h"

#include <cmath>

int64_t RoundHalfEven(double value) {
  double floor = std::floor(value);
  double fraction = value - floor;
  int64_t result = static_cast<int64_t>(floor);
  if (fraction > 0.5 || (fraction == 0.5 && result % 2 != 0)) ++result;
  return result;
}

int FileProgress(int32_t entry, int32_t count, int64_t copied, int64_t size) {
  if (count <= 0) return 0;
  int64_t share = RoundHalfEven(100.0 / count);
  int64_t done = RoundHalfEven(static_cast<double>(entry) * 100.0 / count);
  // The product is formed in 64 bits so that files beyond 20 MB do not overflow it.
  int64_t within =
      RoundHalfEven(static_cast<double>(copied * share) / static_cast<double>(size + 1));
  return static_cast<int>(done + within);
}
