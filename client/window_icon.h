// The window icon: gives the program's window its own icon and extra window-style bits.
#pragma once

// ORs styleBits into the active window's style and sets the program's icon on it. Returns 0.
// The client passes 0; the dedicated server passes StyleMinimizeBox (platform/system.h).
int SetWindowIcon(int styleBits);
