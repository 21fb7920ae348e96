// Stand-ins for hosting and the server browser until online play is built.
#include "net/hosting.h"
#include "net/server_browser.h"
#include "platform/system.h"

void HostSetup() { Notify("Online play is not available yet"); }

int ServerBrowser() {
  Notify("Online play is not available yet");
  return 0;
}
