// HTTP GET (HTTP/1.0) over plain sockets: one deadline for the whole request, and only a
// complete reply with status 200 counts.
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/memory_stream.h"
#include "platform/stream.h"
#include "platform/text.h"

namespace {

using Clock = std::chrono::steady_clock;

// A service that never stops talking is cut off: a reply with a bigger header or body is refused.
constexpr size_t MaxHeader = 64 * 1024;
constexpr size_t MaxBody = 4 * 1024 * 1024;

int MsLeft(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Resolves name on a thread of its own so that a resolver that does not answer cannot hold us
// past the deadline; the thread finishes on its own later if we stop waiting for it.
addrinfo* Resolve(const std::string& name, const std::string& port, Clock::time_point deadline) {
  struct Lookup {
    std::mutex lock;
    std::condition_variable done;
    bool finished = false;
    bool abandoned = false;
    addrinfo* result = nullptr;
  };
  auto lookup = std::make_shared<Lookup>();
  std::thread([lookup, name, port] {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* result = nullptr;
    if (getaddrinfo(name.c_str(), port.c_str(), &hints, &result) != 0) result = nullptr;
    std::lock_guard<std::mutex> hold(lookup->lock);
    if (lookup->abandoned) {
      if (result) freeaddrinfo(result);
      return;
    }
    lookup->result = result;
    lookup->finished = true;
    lookup->done.notify_one();
  }).detach();
  std::unique_lock<std::mutex> hold(lookup->lock);
  if (!lookup->done.wait_until(hold, deadline, [&] { return lookup->finished; })) {
    lookup->abandoned = true;
    return nullptr;
  }
  return lookup->result;
}

// Connects without blocking past the deadline; -1 when it cannot.
int Connect(const addrinfo& address, Clock::time_point deadline) {
  int fd = socket(address.ai_family, address.ai_socktype | SOCK_CLOEXEC, address.ai_protocol);
  if (fd < 0) return -1;
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  if (connect(fd, address.ai_addr, address.ai_addrlen) == 0) return fd;
  if (errno == EINPROGRESS) {
    pollfd p{fd, POLLOUT, 0};
    if (poll(&p, 1, MsLeft(deadline)) == 1) {
      int error = 0;
      socklen_t length = sizeof error;
      if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0) return fd;
    }
  }
  close(fd);
  return -1;
}

bool SendAll(int fd, const std::string& text, Clock::time_point deadline) {
  size_t sent = 0;
  while (sent < text.size()) {
    ssize_t n = send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
      pollfd p{fd, POLLOUT, 0};
      if (poll(&p, 1, MsLeft(deadline)) != 1) return false;
      continue;
    }
    return false;
  }
  return true;
}

// The parts of a reply's header that say whether the reply is one we take.
struct ReplyHeader {
  int status = 0;
  bool lengthGiven = false;
  size_t length = 0;
  bool encoded = false;  // a transfer coding (chunked): the body is not the bytes as sent
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads the status line and the headers; false when they are not those of an HTTP reply or a
// Content-Length is unreadable, too big, or given twice with different values.
bool ParseHeader(const std::string& text, ReplyHeader& header) {
  size_t lineEnd = text.find('\n');
  const std::string status = text.substr(0, lineEnd);
  if (status.compare(0, 5, "HTTP/") != 0) return false;
  size_t code = status.find(' ');
  if (code == std::string::npos) return false;
  code = status.find_first_not_of(' ', code);
  if (code == std::string::npos || code + 3 > status.size()) return false;
  for (size_t i = code; i < code + 3; ++i)
    if (!IsDigit(status[i])) return false;
  if (code + 3 < status.size() && IsDigit(status[code + 3])) return false;
  header.status = std::stoi(status.substr(code, 3));

  while (lineEnd != std::string::npos) {
    const size_t start = lineEnd + 1;
    lineEnd = text.find('\n', start);
    const std::string line = text.substr(start, lineEnd == std::string::npos ? std::string::npos : lineEnd - start);
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    const std::string name = UpperCase(TrimText(line.substr(0, colon)));
    const std::string value = TrimText(line.substr(colon + 1));
    if (name == "TRANSFER-ENCODING" && UpperCase(value) != "IDENTITY") header.encoded = true;
    if (name != "CONTENT-LENGTH") continue;
    if (value.empty() || value.size() > 9 || value.find_first_not_of("0123456789") != std::string::npos) return false;
    const auto length = static_cast<size_t>(std::stoul(value));
    if (header.lengthGiven && length != header.length) return false;
    header.lengthGiven = true;
    header.length = length;
  }
  return header.length <= MaxBody;
}

// Where the reply's header ends (after the first empty line); npos while it has not. The search
// starts at from, so that a header arriving in small pieces is not searched again and again.
size_t BodyStart(const std::vector<uint8_t>& reply, size_t from) {
  for (size_t i = from; i + 1 < reply.size(); ++i) {
    if (reply[i] != '\n') continue;
    if (reply[i + 1] == '\n') return i + 2;
    if (reply[i + 1] == '\r' && i + 2 < reply.size() && reply[i + 2] == '\n') return i + 3;
  }
  return std::string::npos;
}

// Reads the reply until it is complete or the deadline passes, and gives its body. Complete
// means: with a Content-Length, that many bytes after the header; without one, everything until
// the service closes the connection. False for anything else: no status 200, a reply cut off
// or still coming at the deadline, a body in a transfer coding, a reply too big to take.
bool ReceiveBody(int fd, Clock::time_point deadline, std::vector<uint8_t>& body) {
  std::vector<uint8_t> reply;
  size_t bodyStart = std::string::npos;
  ReplyHeader header;
  char chunk[8192];
  for (;;) {
    if (bodyStart != std::string::npos && header.lengthGiven && reply.size() - bodyStart >= header.length) break;
    const int wait = MsLeft(deadline);
    if (wait <= 0) return false;
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, wait);
    if (ready < 0 && errno == EINTR) continue;
    if (ready != 1) return false;
    const ssize_t n = recv(fd, chunk, sizeof chunk, 0);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) continue;
    if (n < 0) return false;
    if (n == 0) {
      // Closed: complete only when the header ended and no promised byte is missing.
      if (bodyStart == std::string::npos) return false;
      if (header.lengthGiven && reply.size() - bodyStart < header.length) return false;
      break;
    }
    const size_t had = reply.size();
    reply.insert(reply.end(), chunk, chunk + n);
    if (bodyStart == std::string::npos) {
      bodyStart = BodyStart(reply, had < 3 ? 0 : had - 3);
      if (bodyStart == std::string::npos) {
        if (reply.size() > MaxHeader) return false;
        continue;
      }
      // The verdict on the header comes as soon as it is whole: a refusal is not waited out.
      if (bodyStart > MaxHeader) return false;
      if (!ParseHeader(std::string(reply.begin(), reply.begin() + static_cast<long>(bodyStart)), header)) return false;
      if (header.status != 200 || header.encoded) return false;
    }
    if (reply.size() - bodyStart > MaxBody && !header.lengthGiven) return false;
  }
  size_t length = reply.size() - bodyStart;
  if (header.lengthGiven) length = header.length;
  body.assign(reply.begin() + static_cast<long>(bodyStart), reply.begin() + static_cast<long>(bodyStart + length));
  return true;
}

}  // namespace

StreamPtr OpenHttp(const std::string& host, const std::string& path, int timeoutMs) {
  if (host.empty()) return nullptr;
  if (timeoutMs <= 0) timeoutMs = 5000;
  std::string name = host, port = "80";
  size_t colon = host.rfind(':');
  if (colon != std::string::npos && host.find(':') == colon) {
    name = host.substr(0, colon);
    port = host.substr(colon + 1);
  }

  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  addrinfo* addresses = Resolve(name, port, deadline);
  if (!addresses) return nullptr;
  int fd = -1;
  for (addrinfo* a = addresses; a && fd < 0 && MsLeft(deadline) > 0; a = a->ai_next) fd = Connect(*a, deadline);
  freeaddrinfo(addresses);
  if (fd < 0) return nullptr;

  std::string request = "GET " + (path.empty() || path[0] != '/' ? "/" + path : path) + " HTTP/1.0\r\n" +
                        "Host: " + host + "\r\n\r\n";
  std::vector<uint8_t> body;
  const bool answered = SendAll(fd, request, deadline) && ReceiveBody(fd, deadline, body);
  close(fd);
  if (!answered) return nullptr;
  return std::make_shared<MemoryStream>(std::move(body));
}
