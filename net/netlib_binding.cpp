// Loads libqxrnet.so and binds each of its operations by name.
#include "net/netlib_binding.h"

#include "net/envelope.h"
#include "platform/system.h"

NetLibrary NetLib;

namespace {

// Never closed: the library's service threads may outlive the last interface by a moment.
SharedLibrary& Library() {
  static auto* library = new SharedLibrary;
  return *library;
}

template <typename R, typename... Args>
void BindTo(BoundFunction<R(Args...)>& function, const char* name) {
  function = Library().Bind<R(Args...)>(name);
}

}  // namespace

const SharedLibrary& NetLibraryFile() { return Library(); }

void BindNetLibrary(const std::string& fileName) {
  if (OutStream != nullptr && NetLib.BitStreamDestroy.IsBound()) OutStream = NetLib.BitStreamDestroy(OutStream);
  OutStream = nullptr;
  Library() = SharedLibrary(fileName);

  BindTo(NetLib.GetTime, "RN_GetTime");
  BindTo(NetLib.BitStreamCreate1, "RN_BitStreamCreate1");
  try {
    OutStream = NetLib.BitStreamCreate1(0);
  } catch (const RuntimeError&) {
    if (!Library().Loaded()) RaiseError("Unable to load the networking library " + fileName + ": " + Library().LoadError());
    throw;
  }
  BindTo(NetLib.BitStreamDestroy, "RN_BitStreamDestroy");
  BindTo(NetLib.BitStreamReset, "RN_BitStreamReset");
  BindTo(NetLib.BitStreamWriteUnsignedChar, "RN_BitStreamWriteUnsignedChar");
  BindTo(NetLib.BitStreamWriteShort, "RN_BitStreamWriteShort");
  BindTo(NetLib.BitStreamWrite, "RN_BitStreamWrite");
  BindTo(NetLib.BitStreamCreateFromPacket, "RN_BitStreamCreateFromPacket");
  BindTo(NetLib.BitStreamReadUnsignedChar, "RN_BitStreamReadUnsignedChar");
  BindTo(NetLib.BitStreamReadShort, "RN_BitStreamReadShort");
  BindTo(NetLib.BitStreamRead, "RN_BitStreamRead");
  BindTo(NetLib.BitStreamReadPastEnd, "RN_BitStreamReadPastEnd");
  BindTo(NetLib.BitStreamGetNumberOfBytesUsed, "RN_BitStreamGetNumberOfBytesUsed");

  BindTo(NetLib.GetRakServerInterface, "RN_GetRakServerInterface");
  BindTo(NetLib.ServerStart, "RN_ServerStart");
  BindTo(NetLib.ServerSetPassword, "RN_ServerSetPassword");
  BindTo(NetLib.ServerStartOccasionalPing, "RN_ServerStartOccasionalPing");
  BindTo(NetLib.ServerReceive, "RN_ServerReceive");
  BindTo(NetLib.ServerSend2, "RN_ServerSend2");
  BindTo(NetLib.ServerCloseConnection, "RN_ServerCloseConnection");
  BindTo(NetLib.ServerDeallocatePacket, "RN_ServerDeallocatePacket");
  BindTo(NetLib.DestroyRakServerInterface, "RN_DestroyRakServerInterface");

  BindTo(NetLib.GetRakClientInterface, "RN_GetRakClientInterface");
  BindTo(NetLib.ClientSetPassword, "RN_ClientSetPassword");
  BindTo(NetLib.ClientConnect, "RN_ClientConnect");
  BindTo(NetLib.ClientStartOccasionalPing, "RN_ClientStartOccasionalPing");
  BindTo(NetLib.ClientReceive, "RN_ClientReceive");
  BindTo(NetLib.ClientSend2, "RN_ClientSend2");
  BindTo(NetLib.ClientDeallocatePacket, "RN_ClientDeallocatePacket");
  BindTo(NetLib.DestroyRakClientInterface, "RN_DestroyRakClientInterface");
  BindTo(NetLib.ClientGetAveragePing, "RN_ClientGetAveragePing");

  BindTo(NetLib.PacketGetData, "RN_PacketGetData");
  BindTo(NetLib.PacketGetLength, "RN_PacketGetLength");
  BindTo(NetLib.PacketGetplayerID, "RN_PacketGetplayerID");
  BindTo(NetLib.CreatePlayerIDFromPacket, "RN_CreatePlayerIDFromPacket");
  BindTo(NetLib.GetUNASSIGNEDPLAYERID, "RN_GetUNASSIGNEDPLAYERID");
  UnassignedId = NetLib.GetUNASSIGNEDPLAYERID();
}
