// A player that speaks the game protocol through the real networking library (bound by the
// real binder), for tests and benchmarks: it connects, joins, moves, chats, enters rooms, takes
// pickups and leaves as a real client does, keeps what the host tells it, and can send any
// message or any bytes at all, forged ones included.
//
// One program thread. Messages are built and read with the game's own envelope: a client
// borrows OutStream, InStream and CurrentPacket only inside its own calls and puts them back,
// so it can share a thread with a host step running in the same process.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "net/messages.h"
#include "platform/qxrnet/qxrnet.h"

namespace protocol {

// The library's send modes, as the game's four modes use them.
enum class Mode { Reliable, Chat, Unreliable, Reply };

// Everything the host has told one client, decoded.
struct Received {
  int accepted = 0, attemptFailed = 0, invalidPassword = 0, full = 0, disconnected = 0, lost = 0;
  int welcomes = 0;
  MsgWelcome welcome;
  int statesBroadcasts = 0;                          // MsgPlayerStates received
  std::array<int, 16> statesOfSlot{};                // broadcasts that listed each slot
  std::array<PlayerStateEntry, 16> lastState{};      // each slot's last listed entry
  std::array<std::string, 16> names;                 // from the name tables (8 characters each)
  std::vector<std::string> chats;
  std::vector<int> leaves;                           // slots announced as gone
  std::vector<MsgPickupForward> pickupsTaken;
  std::vector<MsgRoomQuery> roomQueries;
  std::vector<MsgRoomStateRelayed> roomStates;
  std::vector<std::vector<int>> roomPickups;
  std::vector<MsgGameMode> gameModes;
  std::vector<MsgHeartbeat> heartbeats;
  std::vector<std::string> winners;
  std::vector<MsgTeamTable> teamTables;
  std::vector<int> admins, tagged, joinedBlue, joinedRed;
  int roundStarts = 0, resets = 0, gameStates = 0, chainRooms = 0;
  std::vector<int> roundStartSlots;                  // the slot each round start named (-1: none)
  std::array<int, 256> messagesOfType{};             // every game message by its type byte
  int largestStatesGapMs = 0;                        // longest wait between two states broadcasts
  int lastStatesAtMs = -1;                           // library clock of the last one
};

// A plain state as the client reports it (MsgPlayerState without its slot).
struct OwnState {
  int x = 0, y = 352, mirrored = 0, room = 180, score = 0, lives = 9, following = 99, percent = 0;
};

class ProtocolClient {
 public:
  ProtocolClient();
  ~ProtocolClient();
  ProtocolClient(const ProtocolClient&) = delete;
  ProtocolClient& operator=(const ProtocolClient&) = delete;

  // Connects to 127.0.0.1:port (or host) and waits for the host's welcome; false when none came
  // within timeoutMs (the reason is in Got(): refused, full, wrong password or no answer).
  bool Connect(int port, const std::string& password = "", int timeoutMs = 5000, const std::string& host = "127.0.0.1");
  // Starts connecting without waiting; Pump() takes in what follows.
  bool StartConnect(int port, const std::string& password = "", const std::string& host = "127.0.0.1");
  // Closes the connection; the host is told.
  void Close();
  bool Connected() const { return iface_ != nullptr && Got().accepted > 0 && Got().disconnected == 0 && Got().lost == 0; }

  // The library interface (nullptr when closed), for the library's test knobs.
  RN_Interface* Interface() const { return iface_; }
  // The slot the welcome gave (-1 before it).
  int Slot() const { return slot_; }
  // The 8-character name sent with Join.
  const std::string& Name() const { return name_; }

  // Joins as a real client does: MsgJoin with the name centred to 8 characters and the slot,
  // then the "has just joined" system line, then the own state.
  void Join(const std::string& name, int skin = 0);
  // Sends the own state (unreliable, or reliable as on room entry).
  void SendState(bool reliable = false);
  // Moves to (x, y) in the current room and reports it.
  void MoveTo(int x, int y);
  // Enters room: reports the state reliably and asks the host for the room's state.
  void EnterRoom(int room);
  // A chat line as typed: the two-digit slot, ":", the text.
  void Chat(const std::string& text);
  // Collected pickup index in room.
  void TakePickup(int room, int index);
  void Ping(int averageMs = 20);
  // Leaves the game (MsgLeave for the own slot); the connection stays until Close.
  void Leave();

  // Any message of the catalogue, forged fields and all, in the given mode.
  template <typename Message>
  void Send(const Message& message, Mode mode = Mode::Reliable) {
    Build([&] { WriteMessage(message); });
    SendBuilt(mode);
  }
  // Any bytes as one packet (the library refuses data that starts below 64).
  bool SendRaw(const std::vector<uint8_t>& bytes, Mode mode = Mode::Reliable);

  // Takes in everything queued; answers room queries with MsgNotInRoom (unless told not to)
  // and pings every 5 s as a real client does.
  void Pump();
  // Pumps until done() is true or timeoutMs passes; returns done().
  bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);
  // Pumps for ms milliseconds.
  void PumpFor(int ms);

  OwnState& State() { return state_; }
  const Received& Got() const { return got_; }
  Received& Got() { return got_; }
  // Called with every entry of every states broadcast, as it arrives.
  void WatchStates(std::function<void(const PlayerStateEntry&)> watcher) { stateWatcher_ = std::move(watcher); }
  void AnswerRoomQueries(bool answer) { answerQueries_ = answer; }
  void KeepPinging(bool ping) { keepPinging_ = ping; }

 private:
  void Build(const std::function<void()>& write);
  bool SendBuilt(Mode mode);
  void Handle(RN_Packet* packet);
  void HandleMessage(int type);

  RN_Interface* iface_ = nullptr;
  RN_BitStream* out_ = nullptr;
  int slot_ = -1;
  std::string name_;
  OwnState state_;
  Received got_;
  std::function<void(const PlayerStateEntry&)> stateWatcher_;
  int gameMode_ = 0;  // the mode the host last named (a round start's slot depends on it)
  bool answerQueries_ = true;
  bool keepPinging_ = true;
  int lastPingMs_ = 0;
};

// The library's clock (ms), which every client and a host in this process share.
int LibraryTime();

}  // namespace protocol
