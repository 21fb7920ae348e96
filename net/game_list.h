// Host names of the game-list web service and of the address service.
//
// The environment variables QXR_GAMELIST_HOST and QXR_ADDRESS_HOST, when set and not
// empty, take the place of the built-in names (a host may carry ":port").
#pragma once

#include <string>

inline constexpr const char* DefaultGameListHost = "lobby.qxr-online.invalid";
inline constexpr const char* DefaultAddressHost = "whoami.qxr-online.invalid";

std::string GameListHost();
std::string AddressHost();
