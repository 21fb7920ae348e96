// The start-up version question and the check of the newest version with the game-list service.
#include "client/version_check.h"

#include "client/bitmap_text.h"
#include "client/startup_question.h"
#include "net/game_list.h"
#include "platform/graphics.h"
#include "platform/stream.h"
#include "platform/system.h"

std::string VersionCheckNotice() {
  StreamPtr reply = OpenHttp(GameListHost(), "/v.php");
  if (!reply) return "I can not contact " + GameListHost();
  std::string newest = ReadLine(*reply);
  CloseFile(reply);
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
