// A connection's allowance: earned back one message per interval, up to the burst.
#include "net/allowance.h"

#include "platform/clock.h"

bool TakeAllowance(Allowance& allowance, int now) {
  if (allowance.left >= AllowanceBurst) {
    // A full allowance earns nothing more: the count starts when the first message is taken.
    allowance.left = AllowanceBurst;
    allowance.countedAt = now;
  } else {
    const int earned = MsSince(allowance.countedAt, now) / AllowanceIntervalMs;
    if (earned >= AllowanceBurst - allowance.left) {
      allowance.left = AllowanceBurst;
      allowance.countedAt = now;
    } else if (earned > 0) {
      allowance.left += earned;
      allowance.countedAt = MsAfter(allowance.countedAt, earned * AllowanceIntervalMs);
    }
  }
  if (allowance.left == 0) return false;
  --allowance.left;
  return true;
}
