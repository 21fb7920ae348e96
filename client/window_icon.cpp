// The window icon: gives the program's window its own icon and extra window-style bits.
#include "client/window_icon.h"

#include "platform/system.h"

int SetWindowIcon(int styleBits) {
  SetOwnWindowIcon(styleBits);
  return 0;
}
