// Picks the web services' host names: the environment's, else the built-in ones.
#include "net/game_list.h"

#include <cstdlib>

namespace {

std::string FromEnvironment(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0' ? value : fallback;
}

}  // namespace

std::string GameListHost() { return FromEnvironment("QXR_GAMELIST_HOST", DefaultGameListHost); }
std::string AddressHost() { return FromEnvironment("QXR_ADDRESS_HOST", DefaultAddressHost); }
