/* libqxrnet: reliable UDP for QXR Online (server and client interfaces, bitstreams, packets). */
/*
 * Every function is exported as a plain C symbol named "RN_" + operation, so programs can
 * load the library at run time and bind each function by name.
 *
 * Handles are opaque. A NULL handle is accepted everywhere and does nothing (reads give 0,
 * sends report 0). Passing a server handle to a client operation, or the reverse, is
 * treated like NULL.
 *
 * Threads: every started interface runs one service thread of its own. While the program
 * thread does not call in, it answers the network, resends, keeps the connection alive and
 * queues what arrives, so a program whose main thread sleeps or shows a message box stays
 * connected. The program thread's own calls do that work themselves (a Send goes out at
 * once, a Receive with nothing queued takes in what has arrived), so data never waits for
 * the other thread. All other functions are meant for one program thread; they lock
 * against the service thread internally.
 *
 * The receive queue is bounded for each peer (in packets and bytes) and in all. Reliable
 * data is never dropped: a peer whose reliable data does not fit (a flood, or a program
 * that stopped draining) is disconnected instead, and so is the peer holding the most when
 * the whole queue is full; the program gets RN_ID_CONNECTION_LOST for it, and the data it
 * had queued is discarded. Unreliable data may take only half of each bound and is dropped
 * beyond it.
 *
 * A connection that is lost to silence is given up after about 20 s without any answer
 * from the other end, however lossy the link.
 *
 * Packets handed out by a Receive are the caller's until given back with the matching
 * DeallocatePacket. The first payload byte of a packet tells its kind:
 *   below 64   an event raised by the library (one byte, see RN_ID_*);
 *   64 and up  data sent by the other end with a Send.
 * Data from the wire whose first byte is below 64 is never passed on: it cannot pose as
 * an event.
 *
 * Channels 0 to 3 carry the program's data. Reliability 3 (reliable-ordered) packets on a
 * channel arrive once each, in the order sent on that channel. Reliability 1
 * (unreliable-sequenced) packets may be lost, and a packet older than one already
 * delivered on the same channel is dropped, never delivered late.
 */
#ifndef QXRNET_H
#define QXRNET_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct RN_Interface RN_Interface; /* a server or a client interface */
typedef struct RN_BitStream RN_BitStream;
typedef struct RN_Packet RN_Packet;
/* A connection's player id on the server: a positive number, unique per connection for
 * the life of the library in the process, never -1 and never RN_GetUNASSIGNEDPLAYERID().
 * A plain value: it stays valid after its packet is freed. */
typedef int RN_PlayerId;

/* Events: the single payload byte of a packet raised by the library. */
enum {
  RN_ID_CONNECTION_REQUEST_ACCEPTED = 16, /* client: the server admitted us */
  RN_ID_CONNECTION_ATTEMPT_FAILED = 17,   /* client: no server answered, or it refused the handshake */
  RN_ID_NEW_INCOMING_CONNECTION = 18,     /* server: a client was admitted; the sender is its id */
  RN_ID_DISCONNECTION_NOTIFICATION = 20,  /* the other end closed the connection */
  RN_ID_CONNECTION_LOST = 21,             /* the other end stopped answering */
  RN_ID_NO_FREE_INCOMING_CONNECTIONS = 23,/* client: the server is full */
  RN_ID_INVALID_PASSWORD = 24,            /* client: the server refused our password */
  RN_ID_RECEIVED_STATIC_DATA = 28         /* never raised; kept for the id table */
};

/* Reliabilities and priorities as the Send functions take them. */
enum {
  RN_UNRELIABLE = 0,           /* sent as RN_UNRELIABLE_SEQUENCED */
  RN_UNRELIABLE_SEQUENCED = 1, /* stale packets dropped */
  RN_RELIABLE = 2,             /* sent as RN_RELIABLE_ORDERED */
  RN_RELIABLE_ORDERED = 3,
  RN_RELIABLE_SEQUENCED = 4    /* sent as RN_RELIABLE_ORDERED */
};
enum { RN_HIGH_PRIORITY = 1, RN_MEDIUM_PRIORITY = 2, RN_LOW_PRIORITY = 3 }; /* accepted, not used */
enum { RN_CHANNEL_COUNT = 4 };
enum { RN_MAX_PACKET_BYTES = 4096 }; /* larger data is refused when sent and never taken in */

/* ---- Clock ---- */

/* Milliseconds since the library was loaded, as a wrapping 32-bit value (starts near 0). */
int RN_GetTime(void);

/* ---- Bitstreams: a byte buffer written at its end and read from a position ---- */

/* A new empty stream; initialBytes only reserves room. Never NULL. */
RN_BitStream* RN_BitStreamCreate1(int initialBytes);
/* Frees a stream made by RN_BitStreamCreate1; returns NULL. Streams of packets are freed
 * with their packet and must not be passed here (ignored if they are). */
RN_BitStream* RN_BitStreamDestroy(RN_BitStream* stream);
/* Empties the stream: no data, read position 0, read-past-end mark cleared. */
void RN_BitStreamReset(RN_BitStream* stream);
/* Appends one byte. */
void RN_BitStreamWriteUnsignedChar(RN_BitStream* stream, int value);
/* Appends the low 16 bits of value (two bytes, little-endian). */
void RN_BitStreamWriteShort(RN_BitStream* stream, int value);
/* Appends count bytes; nothing when bytes is NULL or count <= 0. */
void RN_BitStreamWrite(RN_BitStream* stream, const void* bytes, int count);
/* The stream of a received packet, positioned at the first payload byte. The packet owns
 * it: it lives until the packet is deallocated. Asking again rewinds the same stream. */
RN_BitStream* RN_BitStreamCreateFromPacket(RN_Packet* packet);
/* Reads one byte, 0..255. Past the end: 0, and the stream is marked. */
int RN_BitStreamReadUnsignedChar(RN_BitStream* stream);
/* Reads two bytes as a signed 16-bit value, -32768..32767. Past the end: 0, marked. */
int RN_BitStreamReadShort(RN_BitStream* stream);
/* Reads count bytes and returns a pointer to them, valid until the stream is next read,
 * written or freed. When fewer remain, the pointer is to the bytes that were left followed
 * by zeros (count in all), the stream is marked, and the position goes to the end. Never
 * NULL; count <= 0 reads nothing. count is capped at RN_MAX_PACKET_BYTES. */
const unsigned char* RN_BitStreamRead(RN_BitStream* stream, int count);
/* 1 once any read has gone past the end since the stream was made or reset, else 0.
 * A NULL stream counts as read past its end. */
int RN_BitStreamReadPastEnd(RN_BitStream* stream);
/* Bytes written so far. */
int RN_BitStreamGetNumberOfBytesUsed(RN_BitStream* stream);

/* ---- Server ---- */

/* A new, not yet started server interface. */
RN_Interface* RN_GetRakServerInterface(void);
/* Starts listening on UDP port (all local addresses) for up to maxConnections admitted
 * clients (clamped to 1..4000); further clients are refused at once with
 * RN_ID_NO_FREE_INCOMING_CONNECTIONS. A connection must complete its handshake within 5 s
 * or is closed, and one address may hold at most 4 connections with unfinished handshakes
 * (its further attempts are held back until those finish, so any number of clients from
 * one address get in, a few at a time). reserved is ignored. threadSleepMs is the longest
 * the service thread waits for traffic between its timer checks (clamped to 5..50; traffic
 * wakes it at once).
 * Returns 0 when listening, 1 on failure (port taken, interface already started, bad
 * handle), with errno telling why (the socket's own error when the port cannot be had; 0
 * when there is nothing more to say). */
int RN_ServerStart(RN_Interface* server, int maxConnections, int reserved, int threadSleepMs, int port);
/* Sets the password that clients must give (8-bit bytes up to the terminating zero); NULL
 * or "" admits anyone. Applies to clients whose handshake arrives afterwards. */
void RN_ServerSetPassword(RN_Interface* server, const char* password);
/* Does nothing: the server always answers its clients' pings. */
void RN_ServerStartOccasionalPing(RN_Interface* server);
/* The next queued packet or event, or NULL when there is none. */
RN_Packet* RN_ServerReceive(RN_Interface* server);
/* Sends the whole of stream. broadcast 0: to the client with id playerId; an unknown or
 * stale id, or the unassigned id, is dropped. broadcast 1: to every admitted client except
 * playerId (pass the unassigned id to reach all). channel 0..3, reliability as above,
 * priority ignored. Returns 1 when queued for at least one client, 0 when dropped (no
 * such client, empty stream, first byte below 64, more than RN_MAX_PACKET_BYTES, bad
 * channel, interface not started). */
int RN_ServerSend2(RN_Interface* server, RN_BitStream* stream, int priority, int reliability,
                   int channel, RN_PlayerId playerId, int broadcast);
/* Closes the connection of the client with id playerId (it gets
 * RN_ID_DISCONNECTION_NOTIFICATION); nothing for an unknown or stale id. The program gets no
 * event for a connection it closed itself. */
void RN_ServerCloseConnection(RN_Interface* server, RN_PlayerId playerId);
/* Frees a packet from RN_ServerReceive; returns NULL. */
RN_Packet* RN_ServerDeallocatePacket(RN_Interface* server, RN_Packet* packet);
/* Closes every connection (each client gets RN_ID_DISCONNECTION_NOTIFICATION), waits at
 * most a fraction of a second for the notices to go out, stops the service thread and
 * frees the interface and its queued packets. Returns NULL. */
RN_Interface* RN_DestroyRakServerInterface(RN_Interface* server);

/* ---- Client ---- */

/* A new, unconnected client interface. */
RN_Interface* RN_GetRakClientInterface(void);
/* The password to give the server (8-bit bytes up to the zero); NULL or "" gives none. */
void RN_ClientSetPassword(RN_Interface* client, const char* password);
/* Starts connecting to host (name or dotted address) at serverPort, from local
 * clientPort (0 = any). reserved is ignored; threadSleepMs as for RN_ServerStart.
 * Returns 1 when the attempt has started, 0 when it could not start (host name not
 * resolved, local port taken, interface already in use, bad handle). The outcome arrives
 * as an event: RN_ID_CONNECTION_REQUEST_ACCEPTED, RN_ID_INVALID_PASSWORD,
 * RN_ID_NO_FREE_INCOMING_CONNECTIONS or RN_ID_CONNECTION_ATTEMPT_FAILED (not admitted
 * within 10 s). */
int RN_ClientConnect(RN_Interface* client, const char* host, int serverPort, int clientPort,
                     int reserved, int threadSleepMs);
/* Starts measuring the round trip to the server (one ping a second). */
void RN_ClientStartOccasionalPing(RN_Interface* client);
/* The next queued packet or event, or NULL. Packets from the server carry the unassigned
 * id as sender. */
RN_Packet* RN_ClientReceive(RN_Interface* client);
/* Sends the whole of stream to the server. Returns 1 when queued, 0 when dropped (not
 * admitted yet or any more, and the cases of RN_ServerSend2). */
int RN_ClientSend2(RN_Interface* client, RN_BitStream* stream, int priority, int reliability, int channel);
/* Frees a packet from RN_ClientReceive; returns NULL. */
RN_Packet* RN_ClientDeallocatePacket(RN_Interface* client, RN_Packet* packet);
/* Closes the connection (the server gets RN_ID_DISCONNECTION_NOTIFICATION), stops the
 * service thread and frees the interface. Returns NULL. */
RN_Interface* RN_DestroyRakClientInterface(RN_Interface* client);
/* Mean round trip of the last few pings in ms; -1 while not connected or before the first
 * answer to a ping. */
int RN_ClientGetAveragePing(RN_Interface* client);

/* ---- Packets and ids ---- */

/* The payload, or NULL for a NULL packet. At least one byte long. */
const unsigned char* RN_PacketGetData(RN_Packet* packet);
/* Payload length in bytes (0 for NULL). */
int RN_PacketGetLength(RN_Packet* packet);
/* The sender's player id (the unassigned id for a NULL packet). */
RN_PlayerId RN_PacketGetplayerID(RN_Packet* packet);
/* The same id as a lasting value to keep after the packet is freed. */
RN_PlayerId RN_CreatePlayerIDFromPacket(RN_Packet* packet);
/* The id that stands for "no player" and, with broadcast, for "everyone". */
RN_PlayerId RN_GetUNASSIGNEDPLAYERID(void);

/* ---- Test knobs (not for the programs) ---- */

/* Connection timeouts in this process: a peer that answers nothing for timeoutMs is lost
 * (peers made from now on), and an idle connection is pinged every pingIntervalMs. The
 * handshake deadline and the connection attempt shrink with timeoutMs (never past their
 * defaults of 5 s and 10 s). 0 for either restores the default (20 s, a ping every 500 ms). */
void RN_TestSetTimeouts(int timeoutMs, int pingIntervalMs);
/* Makes an interface vanish: its connections are dropped without a word to the other end,
 * as when its process is killed. The interface must still be destroyed. */
void RN_TestDropWithoutNotice(RN_Interface* iface);
/* A packet holding a copy of length bytes (1..RN_MAX_PACKET_BYTES; NULL otherwise) as if it had
 * arrived from sender, for feeding a program's packet handling directly. Freed with either
 * DeallocatePacket. */
RN_Packet* RN_TestMakePacket(const void* data, int length, RN_PlayerId sender);

#ifdef __cplusplus
}
#endif

#endif
