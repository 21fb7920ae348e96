// The chat log of a real hosting client: the banner and every player's line reach "Chat.txt" when
// they are added, so a host that is killed has lost none of them.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "hosting_process.h"
#include "net_harness.h"
#include "protocol_client.h"

namespace {

using net_harness::HostingProcess;
using protocol::ProtocolClient;

constexpr int ArriveMs = 60000;  // generous for a sanitizer build on a loaded machine

// Pumps the player until the host's chat log holds text (or the time runs out).
bool LogGets(HostingProcess& host, ProtocolClient& player, const std::string& text) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(ArriveMs);
  while (host.ChatLog().find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() > giveUp || !host.Running()) return false;
    player.PumpFor(20);
  }
  return true;
}

TEST(HostChatLog, EveryLineIsOnDiskWhenItIsAddedAndAKilledHostKeepsThem) {
  HostingProcess host(net_harness::UnusedPort());
  ProtocolClient player;
  ASSERT_TRUE(host.Admit(player)) << host.Errors();
  player.Join("Chatty");
  // The banner is written before the host gets to its menu; nothing after it pushes it out.
  ASSERT_TRUE(LogGets(host, player, "Zarnaby Online Chat Log. Created ")) << "the banner is not on disk";
  player.Chat("first words");
  ASSERT_TRUE(LogGets(host, player, " Chatty :first words\r\n")) << host.ChatLog();
  player.Chat("last words");
  ASSERT_TRUE(LogGets(host, player, " Chatty :last words\r\n")) << host.ChatLog();

  const std::string logged = host.ChatLog();
  host.Kill();
  EXPECT_EQ(host.ChatLog(), logged);
}

}  // namespace
