// HTTP GET against a small server on 127.0.0.1: the request sent, reply lines read, and
// services that refuse, never answer, answer with another status, stop mid-reply or trickle
// reported as Null within the timeout.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
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

// Answers one request: the first atOnce bytes of reply at once, then the rest one byte every
// pauseMs; then holds the connection open for holdMs, or until the client closes it.
void ServeSlowly(int listener, const std::string& reply, size_t atOnce, int pauseMs, int holdMs = 0) {
  int client = accept(listener, nullptr, nullptr);
  if (client < 0) return;
  char buffer[1024];
  recv(client, buffer, sizeof buffer, 0);
  bool open = send(client, reply.data(), std::min(atOnce, reply.size()), MSG_NOSIGNAL) >= 0;
  for (size_t i = atOnce; open && i < reply.size(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
    open = send(client, reply.data() + i, 1, MSG_NOSIGNAL) == 1;
  }
  pollfd closing{client, POLLIN, 0};
  if (open && holdMs > 0) poll(&closing, 1, holdMs);
  close(client);
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The body of a reply, or "(null)" when OpenHttp refuses it.
std::string BodyOf(const std::string& reply) {
  LocalListener server;
  std::thread serve([&] { ServeOnce(server.fd, reply); });
  StreamPtr body = OpenHttp(server.Host(), "/getLobby.php", 3000);
  serve.join();
  if (!body) return "(null)";
  std::string text(static_cast<size_t>(body->Size()), '\0');
  body->Read(text.data(), text.size());
  return text;
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

TEST(Http, OnlyACompleteReplyWithStatus200Counts) {
  EXPECT_EQ(BodyOf("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nA@b@\nmore after the length"), "A@b@\n");
  EXPECT_EQ(BodyOf("HTTP/1.0 200 OK\r\ncontent-length:  3 \r\nContent-Length: 3\r\n\r\nabc"), "abc");
  EXPECT_EQ(BodyOf("HTTP/1.0 200 OK\r\n\r\n"), "");
  EXPECT_EQ(BodyOf("HTTP/1.0 200 OK\n\nbare line ends"), "bare line ends");
  EXPECT_EQ(BodyOf("HTTP/1.0 404 Not Found\r\n\r\n1.2.3.4@Not a list@x@\r\n"), "(null)");
  EXPECT_EQ(BodyOf("HTTP/1.0 500 Internal Server Error\r\nContent-Length: 0\r\n\r\n"), "(null)");
  EXPECT_EQ(BodyOf("HTTP/1.0 301 Moved\r\nLocation: http://elsewhere/\r\n\r\n"), "(null)");
  EXPECT_EQ(BodyOf("HTTP/1.0 2000 OK\r\n\r\nx"), "(null)");
  // Cut off: fewer bytes than the length promised, or a header that never ended.
  EXPECT_EQ(BodyOf("HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\n1.2.3.4@Half a"), "(null)");
  EXPECT_EQ(BodyOf("HTTP/1.0 200 OK\r\nContent-Type: text/pl"), "(null)");
  EXPECT_EQ(BodyOf(""), "(null)");
  // Not an HTTP reply, a length that cannot be read or says two things, a transfer coding.
  EXPECT_EQ(BodyOf("1.2.3.4@No status line@x@\r\n\r\n"), "(null)");
  EXPECT_EQ(BodyOf("HTTP/1.0 200 OK\r\nContent-Length: -1\r\n\r\nabc"), "(null)");
  EXPECT_EQ(BodyOf("HTTP/1.0 200 OK\r\nContent-Length: 3\r\nContent-Length: 4\r\n\r\nabcd"), "(null)");
  EXPECT_EQ(BodyOf("HTTP/1.0 200 OK\r\nContent-Length: 99999999999999\r\n\r\nabc"), "(null)");
  EXPECT_EQ(BodyOf("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nA@b@\n\r\n0\r\n\r\n"), "(null)");
}

TEST(Http, AReplyTooBigToTakeIsRefused) {
  const std::string header = "HTTP/1.0 200 OK\r\n\r\n";
  EXPECT_EQ(BodyOf(header + std::string(4 * 1024 * 1024, 'a')).size(), 4u * 1024 * 1024);
  EXPECT_EQ(BodyOf(header + std::string(4 * 1024 * 1024 + 1, 'a')), "(null)");
  EXPECT_EQ(BodyOf("HTTP/1.0 200 OK\r\nX: " + std::string(70 * 1024, 'h') + "\r\n\r\nabc"), "(null)");
}

TEST(Http, AReplyWithItsLengthIsTakenWithoutWaitingForTheClose) {
  LocalListener server;
  std::thread serve([&] { ServeSlowly(server.fd, "HTTP/1.0 200 OK\r\nContent-Length: 4\r\n\r\n2.14", 1000, 0, 8000); });
  const auto start = std::chrono::steady_clock::now();
  StreamPtr body = OpenHttp(server.Host(), "/v.php", 6000);
  const double took = SecondsSince(start);
  serve.join();
  ASSERT_TRUE(body);
  EXPECT_EQ(ReadLine(*body), "2.14");
  EXPECT_LT(took, 5.5);  // the connection stayed open for 8 s; the request ended when complete
}

// A service that trickles its reply, or stops mid-reply and holds the connection, is given up
// on when the request's time is over, and not before; the time covers the whole request, not
// each wait for a byte.
TEST(Http, ATricklingOrStalledServiceIsGivenUpOnAtTheTimeout) {
  struct Case {
    const char* what;
    std::string reply;
    size_t atOnce;
    int pauseMs, holdMs;
  };
  const std::string header = "HTTP/1.0 200 OK\r\n\r\n";
  const Case cases[] = {
      {"a byte every 300 ms after the header", header + std::string(40, 'x'), header.size(), 300, 0},
      {"a header a byte at a time", header + "x", 0, 300, 0},
      {"stopped mid-reply, connection held", "HTTP/1.0 200 OK\r\nContent-Length: 50\r\n\r\nhalf", 1000, 0, 6000},
      {"header only, connection held", header, 1000, 0, 6000}};
  for (const Case& c : cases) {
    LocalListener server;
    std::thread serve([&] { ServeSlowly(server.fd, c.reply, c.atOnce, c.pauseMs, c.holdMs); });
    const auto start = std::chrono::steady_clock::now();
    StreamPtr body = OpenHttp(server.Host(), "/getLobby.php", 1500);
    const double took = SecondsSince(start);
    EXPECT_FALSE(body) << c.what;
    EXPECT_GE(took, 1.4) << c.what;
    EXPECT_LT(took, 5.0) << c.what;  // a wait per byte would last 12 s and more
    serve.join();
  }
}

}  // namespace
