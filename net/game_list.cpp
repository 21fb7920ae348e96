// Requests to the game-list and address services: registration, the list of games, the log-off.
#include "net/game_list.h"

#include <cstdlib>

#include "client/bitmap_text.h"
#include "net/net_globals.h"
#include "net/service_reply.h"
#include "platform/graphics.h"
#include "platform/stream.h"
#include "platform/system.h"
#include "world/records.h"
#include "world/text_utils.h"

namespace {

constexpr size_t DescriptionWidth = 20;
constexpr size_t LongestHostName = 253;
// A list line holds an address, a description and a third field nobody reads: an honest one
// is far shorter.
constexpr size_t LongestListLine = 1024;

std::string FromEnvironment(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0' ? value : fallback;
}

bool NeedsEscape(unsigned char c) {
  return c < 33 || c > 126 || c == '&' || c == '=' || c == '#' || c == '%' || c == '+' || c == '?';
}

// Set when the first character is a real one (a blank entry comes back as one space).
bool Given(const std::string& text, size_t moreThan) {
  return text.size() > moreThan && static_cast<unsigned char>(text[0]) > 0;
}

void ShowContacting() {
  Cls();
  DrawBigText("Contacting Game List server", 90, 310, 0, 255, 0);
  Flip();
}

// A host name or IPv4 address, optionally followed by ":" and a port number.
bool IsHostAddress(const std::string& text) {
  const size_t colon = text.find(':');
  const std::string name = text.substr(0, colon);
  if (name.empty() || name.size() > LongestHostName) return false;
  for (char c : name)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
          c == '_'))
      return false;
  if (colon == std::string::npos) return true;
  const std::string port = text.substr(colon + 1);
  return !port.empty() && port.size() <= 5 && port.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

std::string GameListHost() { return FromEnvironment("QXR_GAMELIST_HOST", DefaultGameListHost); }
std::string AddressHost() { return FromEnvironment("QXR_ADDRESS_HOST", DefaultAddressHost); }

std::string QueryValue(const std::string& text) {
  static const char* const hex = "0123456789ABCDEF";
  std::string value;
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (!NeedsEscape(c)) {
      value += ch;
      continue;
    }
    value += '%';
    value += hex[c >> 4];
    value += hex[c & 15];
  }
  return value;
}

std::string RegistrationPath() {
  const std::string description = QueryValue(GameDescription);
  const std::string name = QueryValue(AlignText(PlayerName, 8, "C"));
  const std::string skin = std::to_string(SelectedSkin);
  const bool password = Given(HostPassword, 0);
  const bool address = Given(OwnAddress, 5);
  const std::string tail = "&name=" + name + "&char=" + skin;
  if (password && address)
    return "/newServer.php?password=Y&description=" + description + "&ip=" + QueryValue(OwnAddress) + tail;
  if (password) return "/newServer.php?password=Y&description=" + description + tail;
  if (address)
    return "/newServer.php?password=N&ip=" + QueryValue(OwnAddress) + "&description=" + description + tail;
  return "/newServer.php?password=N&description=" + description + tail;
}

void RegisterServer() {
  if (RegisterAnswer != "Y" && RegisterAnswer != "y") return;
  ShowContacting();
  const std::string host = GameListHost();
  StreamPtr reply = OpenHttp(host, RegistrationPath());
  if (!reply) {
    Notify("I can not contact " + host);
    return;
  }
  if (ReadLine(*reply, 3) != "OK") Notify("FAIL I can not contact " + host);
  CloseFile(reply);
}

bool FetchGameList(std::vector<ListedGame>& games) {
  const std::string host = GameListHost();
  std::vector<std::string> lines;
  std::vector<ListedGame> read;
  bool answered = FetchReplyLines(host, "/getLobby.php", ListedGamesKept, LongestListLine, lines);
  for (size_t i = 0; answered && i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const size_t first = line.find('@');
    ListedGame game;
    if (first != std::string::npos) {
      game.ip = line.substr(0, first);
      const size_t second = line.find('@', first + 1);
      game.description = line.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
    }
    // A row is a game at an address, or (without "@") a row with no address that ends the
    // list shown. Anything else is not a list of games: an address of other characters, or
    // one so long that the line was cut before its "@".
    if (first == std::string::npos ? line.size() >= LongestListLine : !game.ip.empty() && !IsHostAddress(game.ip))
      answered = false;
    game.description = game.description.substr(0, DescriptionWidth);
    game.description += std::string(DescriptionWidth - game.description.size(), ' ');
    read.push_back(game);
  }
  if (!answered) {
    Notify("I can not contact " + host);
    return false;
  }
  games = read;
  return true;
}

void LogOffGameList() {
  if (RegisterAnswer != "Y") return;
  const std::string path = Given(OwnAddress, 5) ? "/logoff.php?ip=" + QueryValue(OwnAddress) : "/logoff.php";
  const std::string host = GameListHost();
  StreamPtr reply = OpenHttp(host, path);
  if (!reply) {
    Notify("FAIL I can not contact " + host);
    return;
  }
  CloseFile(reply);  // what it says is not used
}
