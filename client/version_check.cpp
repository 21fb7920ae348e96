// The start-up version question and the check of the newest version with the game-list service.
#include "client/version_check.h"

#include <vector>

#include "client/bitmap_text.h"
#include "client/startup_question.h"
#include "net/game_list.h"
#include "net/service_reply.h"
#include "platform/graphics.h"
#include "platform/system.h"

namespace {

// A version number is a few characters; a longer line is cut to this.
constexpr size_t LongestVersion = 16;

}  // namespace

std::string VersionCheckNotice() {
  std::vector<std::string> lines;
  if (!FetchReplyLines(GameListHost(), "/v.php", 1, LongestVersion, lines)) return "I can not contact " + GameListHost();
  const std::string newest = lines.empty() ? "" : lines[0];
  if (newest.empty() || newest == ClientVersion) return "";
  return "Version " + newest + " is now available.  " + GameSiteAddress;
}

void AskVersionCheck() {
  if (!AskStartUpQuestion("Check for new version ?: ")) return;
  Cls();
  DrawBigText("Contacting Game List server", 90, 310, 0, 255, 0);
  Flip();
  std::string notice = VersionCheckNotice();
  if (!notice.empty()) Notify(notice);
}
