// Small helpers shared by the message writers and readers.
#pragma once

#include "net/envelope.h"

namespace message_fields {

// Begins a message of the given type in OutStream.
inline void Begin(int type) {
  NetBeginMessage();
  NetWriteByte(type);
}

// The result of a ReadMessage: false when the packet ended first.
inline bool Complete() { return !NetReadPastEnd(); }

}  // namespace message_fields
