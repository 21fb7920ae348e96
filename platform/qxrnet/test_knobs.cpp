// Test knob: making an interface vanish without telling the other end.
#include "platform/qxrnet/client.h"
#include "platform/qxrnet/export.h"
#include "platform/qxrnet/server.h"

RN_EXPORT void RN_TestDropWithoutNotice(RN_Interface* iface) {
  if (auto* s = qxrnet::AsServer(iface)) s->Vanish();
  if (auto* c = qxrnet::AsClient(iface)) c->Vanish();
}
