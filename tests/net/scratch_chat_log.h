// The chat log of a test in a scratch file, read back whole.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include "platform/stream.h"
#include "world/text_utils.h"

namespace online_test {

// A chat log in a scratch file of the process's own (tests run side by side), read back whole.
class ScratchChatLog {
 public:
  ScratchChatLog() : path_(::testing::TempDir() + "qxr_chat_" + std::to_string(getpid()) + ".txt") {
    StreamPtr fresh = WriteFile(path_);
    CloseFile(fresh);
    ChatLog = OpenFile(path_);
  }
  ~ScratchChatLog() {
    CloseFile(ChatLog);
    std::remove(path_.c_str());
  }
  // What was written, once the log is closed.
  std::string Text() const {
    CloseFile(ChatLog);
    std::ifstream in(path_, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }

 private:
  std::string path_;
};

}  // namespace online_test
