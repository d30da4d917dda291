#include "workbench/logic/CoinThrows.h"

namespace {

// Throw t reads the six entries from position t of this sequence (position 1 first).
constexpr int kSequence[11] = {0, 1, 2, 1, 3, 2, 1, 2, 0, 1, 2};

}  // namespace

TCoinLineKind CoinThrowKind(int throwNumber, int milliseconds) {
  const int t = throwNumber < 1 ? 1 : throwNumber > 6 ? 6 : throwNumber;
  const int r = ((milliseconds % 6) + 6) % 6;
  return static_cast<TCoinLineKind>(kSequence[t - 1 + r]);
}
