// HTTP GET against a small server on 127.0.0.1: the request sent, reply lines read, and
// services that refuse or never answer reported as Null within the timeout.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/stream.h"

namespace {

// A listening socket on 127.0.0.1 with a port of the system's choosing.
struct LocalListener {
  int fd = -1;
  int port = 0;
  LocalListener() {
    fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(fd, 4);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
  }
  ~LocalListener() {
    if (fd >= 0) close(fd);
  }
  std::string Host() const { return "127.0.0.1:" + std::to_string(port); }
};

// Answers one request with reply and hands back what was asked.
std::string ServeOnce(int listener, const std::string& reply) {
  int client = accept(listener, nullptr, nullptr);
  if (client < 0) return "";
  std::string request;
  char buffer[1024];
  while (request.find("\r\n\r\n") == std::string::npos) {
    ssize_t n = recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    request.append(buffer, static_cast<size_t>(n));
  }
  send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
  close(client);
  return request;
}

TEST(Http, SendsAnHttp10RequestAndReadsTheBodyLineByLine) {
  LocalListener server;
  std::string request;
  std::thread serve([&] {
    request = ServeOnce(server.fd, "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n2.14\r\n1.2.3.4@Fun game@x\nlast");
  });
  StreamPtr body = OpenHttp(server.Host(), "/qxr/v.php?ip=1", 3000);
  serve.join();
  ASSERT_TRUE(body);
  EXPECT_EQ(request, "GET /qxr/v.php?ip=1 HTTP/1.0\r\nHost: " + server.Host() + "\r\n\r\n");
  EXPECT_EQ(ReadLine(*body), "2.14");
  EXPECT_EQ(ReadLine(*body), "1.2.3.4@Fun game@x");
  EXPECT_EQ(ReadLine(*body), "last");
  EXPECT_TRUE(Eof(*body));
}

TEST(Http, AHostNameIsResolvedAndAnEmptyBodyIsAnEmptyStream) {
  LocalListener server;
  std::thread serve([&] { ServeOnce(server.fd, "HTTP/1.0 200 OK\n\n"); });
  // localhost may resolve to ::1 first, where nothing listens: the next address is tried.
  StreamPtr body = OpenHttp("localhost:" + std::to_string(server.port), "getLobby.php", 3000);
  serve.join();
  ASSERT_TRUE(body);
  EXPECT_TRUE(Eof(*body));
  EXPECT_EQ(ReadLine(*body), "");
}

TEST(Http, ARefusedConnectionIsNull) {
  int port;
  {
    LocalListener closed;
    port = closed.port;
  }  // nothing listens there any more
  EXPECT_FALSE(OpenHttp("127.0.0.1:" + std::to_string(port), "/v.php", 3000));
  EXPECT_FALSE(OpenHttp("", "/v.php", 3000));
}

TEST(Http, AServiceThatNeverAnswersIsNullWithinTheTimeout) {
  LocalListener silent;  // accepts connections (the backlog) but never replies
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(OpenHttp(silent.Host(), "/v.php", 300));
  auto took = std::chrono::steady_clock::now() - start;
  EXPECT_LT(took, std::chrono::seconds(5));  // bounded by the timeout, not by the server
}

}  // namespace
