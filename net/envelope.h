// Game messages on the wire: building one in the outgoing stream, reading the one received,
// the four send modes, the network clock, connecting and closing the network interface.
//
// A message is the byte GameMessageId (64), a type byte, then its fields in a fixed order
// (net/messages.h). Field codes: u8 one byte; s16 a 16-bit value read back sign-extended;
// str a length byte n (length + 1), the 8-bit characters and a zero byte; istr an int
// sent as its decimal text in a str. Main thread only: one message is built, and one read,
// at a time.
#pragma once

#include <string>

#include "platform/qxrnet/qxrnet.h"

inline constexpr int GameMessageId = 64;
inline constexpr int GamePort = 7002;
inline constexpr int MaxStringLength = 254;   // what the length byte can describe

extern RN_BitStream* OutStream;    // the outgoing stream of the whole run (made by the binding)
extern RN_BitStream* InStream;     // the stream over CurrentPacket; null when none
extern RN_Packet* CurrentPacket;   // the packet being handled; null when none
extern RN_Interface* NetInterface; // server interface (host, server) or client interface; null when closed
extern RN_PlayerId UnassignedId;   // the library's everyone-id, used for broadcasts

// Hosting or the dedicated server: the library's server side serves this program.
bool NetHostSide();

// Empties OutStream and writes GameMessageId; the type byte comes next.
void NetBeginMessage();
void NetWriteByte(int value);                 // value & 255
void NetWriteShort(int value);                // value & 0xFFFF
void NetWriteString(const std::string& text); // cut to MaxStringLength characters
void NetWriteIntString(int value);

// Reads of InStream, strictly in order. Past the end they give 0 or "" (never throw).
int NetReadByte();                            // 0..255
int NetReadShort();                           // -32768..32767
std::string NetReadString();                  // up to the first zero byte
// Leading white space skipped, optional sign, digits; other text gives 0 and values beyond
// the int range give the nearest int.
int NetReadIntString();
// True once a read of the current packet has gone past its end (a short or hostile
// packet); what was read then is 0 or "".
bool NetReadPastEnd();

// Takes the next packet of the library's queue into CurrentPacket and InStream.
// False (and both null) when there is none.
bool NetReceive();
// Gives CurrentPacket back to the library; CurrentPacket and InStream become null.
void NetFreePacket();

// The send modes. On the host side: NetSend(-1) to everyone, NetSend(slot) to the slot's
// connection; on a joining client every mode goes to the host.
void NetSend(int slot);       // reliable-ordered, channel 2, high priority
void NetSendChat();           // reliable-ordered, channel 3
void NetSendUnreliable();     // unreliable-sequenced, channel 1, low priority
void NetSendTo(RN_PlayerId netId);  // reliable-ordered, channel 0; host side only

// Host time in ms: the library clock on the host side, GameClock() on a joining client.
int NetTime();

// Creates the client interface and starts connecting to host:port with the password (none
// when ""). 1 when the attempt started (the outcome arrives as a library event), else 0.
int NetConnect(const std::string& host, int port, const std::string& password);

// Closes NetInterface. On the host side it then logs the game off from the game list when
// RegisterAnswer is exactly "Y" (a message box when that fails) and clears Hosting.
void NetShutdown();
