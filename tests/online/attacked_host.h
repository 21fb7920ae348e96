// The host the attack tests attack: a real dedicated server ("qxr-server /AUTO") or a real
// hosting client ("qxr", F3), in a folder of its own on a free port, with the environment of a
// program whose memory is measured.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/client/client_test_support.h"
#include "tests/net/hosting_process.h"
#include "tests/net/protocol_client.h"
#include "tests/server/server_process.h"

namespace attacktest {

enum class Target { DedicatedServer, HostingClient };

inline std::string TargetName(const ::testing::TestParamInfo<Target>& info) {
  return info.param == Target::DedicatedServer ? "DedicatedServer" : "HostingClient";
}

class AttackedHost {
 public:
  explicit AttackedHost(Target target) : port_(clienttest::FreeLoopbackPort(SOCK_DGRAM)) {
    if (target == Target::DedicatedServer) {
      clienttest::WriteText(folder_.File("server_ip.txt"), "N\r\nUnder attack\r\n\r\n");
      server_ = std::make_unique<servertest::ServerProcess>(folder_.Path(), std::vector<std::string>{"/AUTO"},
                                                            servertest::MeasuredEnvironment(port_));
    } else {
      hosting_ = std::make_unique<net_harness::HostingProcess>(port_, "Hosty", "", servertest::MeasuredEnvironment(port_));
    }
  }

  bool HostingClient() const { return hosting_ != nullptr; }
  int Port() const { return port_; }
  pid_t Pid() const { return server_ ? server_->Pid() : hosting_->Pid(); }
  bool Running() { return server_ ? server_->Running() : hosting_->Running(); }
  std::string Errors() const { return server_ ? server_->Errors() : hosting_->Errors(); }
  // The host's chat log (the server's holds only its banner).
  std::string ChatLog() const { return server_ ? clienttest::ReadText(folder_.File("Chat.txt")) : hosting_->ChatLog(); }

  // Connects a player, trying again while the host starts up.
  bool Admit(protocol::ProtocolClient& client) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline && Running()) {
      if (client.Connect(port_, "", 2000)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }

  // Asks the program to end as its user would; true when it ended cleanly.
  bool Stop() {
    if (hosting_) {
      const clienttest::ClientRun run = hosting_->Stop();
      return !run.timedOut && run.exitCode == 0;
    }
    server_->Signal(SIGTERM);
    return server_->WaitExit() == 0;
  }

 private:
  clienttest::ScratchFolder folder_;
  int port_;
  std::unique_ptr<servertest::ServerProcess> server_;
  std::unique_ptr<net_harness::HostingProcess> hosting_;
};

}  // namespace attacktest
