// The game-list web service and the address service: host names, registration, the list, log-off.
//
// The environment variables QXR_GAMELIST_HOST and QXR_ADDRESS_HOST, when set and not
// empty, take the place of the built-in names (a host may carry ":port").
#pragma once

#include <cstddef>
#include <string>
#include <vector>

inline constexpr const char* DefaultGameListHost = "lobby.qxr-online.invalid";
inline constexpr const char* DefaultAddressHost = "whoami.qxr-online.invalid";

std::string GameListHost();
std::string AddressHost();

// A value made safe for a query string: space as "%20", and every character that would end or
// split the request line or the query ("&", "=", "#", "%", "+", "?", control characters and
// characters above 126) as "%" and two hex digits.
std::string QueryValue(const std::string& text);

// The registration query of a hosted game (path and query, without the host).
std::string RegistrationPath();

// Registers the hosted game when RegisterAnswer is "Y" or "y", showing "Contacting Game List
// server" meanwhile; a message box tells when the service cannot be reached or refuses.
void RegisterServer();

// One published game: the host's address and its description (left-justified, 20 characters).
struct ListedGame {
  std::string ip;
  std::string description;
};
inline constexpr size_t ListedGamesKept = 20;
// The published games, read up to the first empty line, at most ListedGamesKept. False, with
// games untouched, when the service gives no list: it cannot be reached, its reply is not
// complete or not a 200, or it is not a list of games (binary data, an HTML page, a row whose
// address is not one); the message box has then been shown.
bool FetchGameList(std::vector<ListedGame>& games);

// Takes a registered game off the list (when RegisterAnswer is exactly "Y"); a message box
// tells when the service cannot be reached.
void LogOffGameList();
