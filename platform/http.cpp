// HTTP GET (HTTP/1.0) over plain sockets, with connect and read timeouts, body read whole.
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
#include <thread>

#include "platform/memory_stream.h"
#include "platform/stream.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t MaxReply = 4 * 1024 * 1024;  // a service that never stops talking is cut off

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

// Everything the server sends until it closes; each wait for data may last timeoutMs.
// False when nothing at all came back.
bool ReceiveAll(int fd, int timeoutMs, std::vector<uint8_t>& reply) {
  auto giveUp = Clock::now() + std::chrono::milliseconds(static_cast<long>(timeoutMs) * 4);
  char chunk[8192];
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    int wait = std::min(timeoutMs, MsLeft(giveUp));
    int ready = poll(&p, 1, wait);
    if (ready < 0 && errno == EINTR) continue;
    if (ready != 1) return !reply.empty();  // silent past the timeout: keep what came
    ssize_t n = recv(fd, chunk, sizeof chunk, 0);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (n <= 0) return !reply.empty();  // closed (or failed): an empty reply is no reply
    reply.insert(reply.end(), chunk, chunk + n);
    if (reply.size() >= MaxReply) return true;
  }
}

// Where the reply's header ends (after the first empty line); npos when it never does.
size_t BodyStart(const std::vector<uint8_t>& reply) {
  for (size_t i = 0; i + 1 < reply.size(); ++i) {
    if (reply[i] != '\n') continue;
    if (reply[i + 1] == '\n') return i + 2;
    if (reply[i + 1] == '\r' && i + 2 < reply.size() && reply[i + 2] == '\n') return i + 3;
  }
  return std::string::npos;
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
  std::vector<uint8_t> reply;
  bool answered = SendAll(fd, request, Clock::now() + std::chrono::milliseconds(timeoutMs)) &&
                  ReceiveAll(fd, timeoutMs, reply);
  close(fd);
  if (!answered) return nullptr;
  size_t body = BodyStart(reply);
  if (body == std::string::npos) body = reply.size();  // a header with no end: no body
  return std::make_shared<MemoryStream>(std::vector<uint8_t>(reply.begin() + static_cast<long>(body), reply.end()));
}
