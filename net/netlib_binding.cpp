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

}  // namespace

const SharedLibrary& NetLibraryFile() { return Library(); }

void BindNetLibrary(const std::string& fileName) {
  if (OutStream != nullptr && NetLib.BitStreamDestroy.IsBound()) OutStream = NetLib.BitStreamDestroy(OutStream);
  OutStream = nullptr;
  SharedLibrary& library = Library();
  library = SharedLibrary(fileName);

  library.BindTo(NetLib.GetTime, "RN_GetTime");
  library.BindTo(NetLib.BitStreamCreate1, "RN_BitStreamCreate1");
  try {
    OutStream = NetLib.BitStreamCreate1(0);
  } catch (const RuntimeError&) {
    if (!Library().Loaded()) RaiseError("Unable to load the networking library " + fileName + ": " + Library().LoadError());
    throw;
  }
  library.BindTo(NetLib.BitStreamDestroy, "RN_BitStreamDestroy");
  library.BindTo(NetLib.BitStreamReset, "RN_BitStreamReset");
  library.BindTo(NetLib.BitStreamWriteUnsignedChar, "RN_BitStreamWriteUnsignedChar");
  library.BindTo(NetLib.BitStreamWriteShort, "RN_BitStreamWriteShort");
  library.BindTo(NetLib.BitStreamWrite, "RN_BitStreamWrite");
  library.BindTo(NetLib.BitStreamCreateFromPacket, "RN_BitStreamCreateFromPacket");
  library.BindTo(NetLib.BitStreamReadUnsignedChar, "RN_BitStreamReadUnsignedChar");
  library.BindTo(NetLib.BitStreamReadShort, "RN_BitStreamReadShort");
  library.BindTo(NetLib.BitStreamRead, "RN_BitStreamRead");
  library.BindTo(NetLib.BitStreamReadPastEnd, "RN_BitStreamReadPastEnd");
  library.BindTo(NetLib.BitStreamGetNumberOfBytesUsed, "RN_BitStreamGetNumberOfBytesUsed");

  library.BindTo(NetLib.GetRakServerInterface, "RN_GetRakServerInterface");
  library.BindTo(NetLib.ServerStart, "RN_ServerStart");
  library.BindTo(NetLib.ServerSetPassword, "RN_ServerSetPassword");
  library.BindTo(NetLib.ServerStartOccasionalPing, "RN_ServerStartOccasionalPing");
  library.BindTo(NetLib.ServerReceive, "RN_ServerReceive");
  library.BindTo(NetLib.ServerSend2, "RN_ServerSend2");
  library.BindTo(NetLib.ServerCloseConnection, "RN_ServerCloseConnection");
  library.BindTo(NetLib.ServerDeallocatePacket, "RN_ServerDeallocatePacket");
  library.BindTo(NetLib.DestroyRakServerInterface, "RN_DestroyRakServerInterface");

  library.BindTo(NetLib.GetRakClientInterface, "RN_GetRakClientInterface");
  library.BindTo(NetLib.ClientSetPassword, "RN_ClientSetPassword");
  library.BindTo(NetLib.ClientConnect, "RN_ClientConnect");
  library.BindTo(NetLib.ClientStartOccasionalPing, "RN_ClientStartOccasionalPing");
  library.BindTo(NetLib.ClientReceive, "RN_ClientReceive");
  library.BindTo(NetLib.ClientSend2, "RN_ClientSend2");
  library.BindTo(NetLib.ClientDeallocatePacket, "RN_ClientDeallocatePacket");
  library.BindTo(NetLib.DestroyRakClientInterface, "RN_DestroyRakClientInterface");
  library.BindTo(NetLib.ClientGetAveragePing, "RN_ClientGetAveragePing");

  library.BindTo(NetLib.PacketGetData, "RN_PacketGetData");
  library.BindTo(NetLib.PacketGetLength, "RN_PacketGetLength");
  library.BindTo(NetLib.PacketGetplayerID, "RN_PacketGetplayerID");
  library.BindTo(NetLib.CreatePlayerIDFromPacket, "RN_CreatePlayerIDFromPacket");
  library.BindTo(NetLib.GetUNASSIGNEDPLAYERID, "RN_GetUNASSIGNEDPLAYERID");
  UnassignedId = NetLib.GetUNASSIGNEDPLAYERID();
}
