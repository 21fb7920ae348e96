// The networking library libqxrnet.so, loaded at start-up and bound function by function.
//
// Every operation is bound by name; a name the library lacks (or a library that is missing
// altogether) gets the placeholder that raises an error when called. The outgoing stream is
// created as soon as its constructor is bound, so a missing library ends the program there
// with a RuntimeError that names the library.
#pragma once

#include <string>

#include "platform/library.h"
#include "platform/qxrnet/qxrnet.h"

struct NetLibrary {
  BoundFunction<int()> GetTime;

  BoundFunction<RN_BitStream*(int)> BitStreamCreate1;
  BoundFunction<RN_BitStream*(RN_BitStream*)> BitStreamDestroy;
  BoundFunction<void(RN_BitStream*)> BitStreamReset;
  BoundFunction<void(RN_BitStream*, int)> BitStreamWriteUnsignedChar;
  BoundFunction<void(RN_BitStream*, int)> BitStreamWriteShort;
  BoundFunction<void(RN_BitStream*, const void*, int)> BitStreamWrite;
  BoundFunction<RN_BitStream*(RN_Packet*)> BitStreamCreateFromPacket;
  BoundFunction<int(RN_BitStream*)> BitStreamReadUnsignedChar;
  BoundFunction<int(RN_BitStream*)> BitStreamReadShort;
  BoundFunction<const unsigned char*(RN_BitStream*, int)> BitStreamRead;
  BoundFunction<int(RN_BitStream*)> BitStreamReadPastEnd;
  BoundFunction<int(RN_BitStream*)> BitStreamGetNumberOfBytesUsed;

  BoundFunction<RN_Interface*()> GetRakServerInterface;
  BoundFunction<int(RN_Interface*, int, int, int, int)> ServerStart;
  BoundFunction<void(RN_Interface*, const char*)> ServerSetPassword;
  BoundFunction<void(RN_Interface*)> ServerStartOccasionalPing;
  BoundFunction<RN_Packet*(RN_Interface*)> ServerReceive;
  BoundFunction<int(RN_Interface*, RN_BitStream*, int, int, int, RN_PlayerId, int)> ServerSend2;
  BoundFunction<void(RN_Interface*, RN_PlayerId)> ServerCloseConnection;
  BoundFunction<RN_Packet*(RN_Interface*, RN_Packet*)> ServerDeallocatePacket;
  BoundFunction<RN_Interface*(RN_Interface*)> DestroyRakServerInterface;

  BoundFunction<RN_Interface*()> GetRakClientInterface;
  BoundFunction<void(RN_Interface*, const char*)> ClientSetPassword;
  BoundFunction<int(RN_Interface*, const char*, int, int, int, int)> ClientConnect;
  BoundFunction<void(RN_Interface*)> ClientStartOccasionalPing;
  BoundFunction<RN_Packet*(RN_Interface*)> ClientReceive;
  BoundFunction<int(RN_Interface*, RN_BitStream*, int, int, int)> ClientSend2;
  BoundFunction<RN_Packet*(RN_Interface*, RN_Packet*)> ClientDeallocatePacket;
  BoundFunction<RN_Interface*(RN_Interface*)> DestroyRakClientInterface;
  BoundFunction<int(RN_Interface*)> ClientGetAveragePing;

  BoundFunction<const unsigned char*(RN_Packet*)> PacketGetData;
  BoundFunction<int(RN_Packet*)> PacketGetLength;
  BoundFunction<RN_PlayerId(RN_Packet*)> PacketGetplayerID;
  BoundFunction<RN_PlayerId(RN_Packet*)> CreatePlayerIDFromPacket;
  BoundFunction<RN_PlayerId()> GetUNASSIGNEDPLAYERID;
};

// The bound operations of the whole run.
extern NetLibrary NetLib;

inline const char* const NetLibraryFileName = "libqxrnet.so";

// Loads the library from the program's folder (else the system's search path), binds every
// operation, creates OutStream and fetches UnassignedId (net/envelope.h). Raises a
// RuntimeError when the library cannot be loaded. Binding again replaces the old binding.
void BindNetLibrary(const std::string& fileName = NetLibraryFileName);

// The loaded library itself, for binding the test knobs.
const SharedLibrary& NetLibraryFile();
