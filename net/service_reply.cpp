// Reads a web service's reply as lines of plain text, refusing binary data and HTML pages.
#include "net/service_reply.h"

#include "platform/stream.h"

namespace {

// Printable 8-bit text: no control characters (a tab aside) and no DEL.
bool PlainText(const std::string& line) {
  for (char ch : line) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c < 32 && c != '\t') || c == 127) return false;
  }
  return true;
}

// An HTML page (an error page of the web server, say) starts its first lines with a tag; no
// line of an honest reply does.
bool Markup(const std::string& line) {
  const size_t first = line.find_first_not_of(" \t");
  return first != std::string::npos && line[first] == '<';
}

}  // namespace

bool FetchReplyLines(const std::string& host, const std::string& path, size_t maxLines, size_t longest,
                     std::vector<std::string>& lines) {
  lines.clear();
  StreamPtr reply = OpenHttp(host, path);
  if (!reply) return false;
  while (lines.size() < maxLines && !reply->Eof()) {
    std::string line = ReadLine(*reply, longest);
    if (line.empty()) break;
    if (!PlainText(line) || Markup(line)) {
      lines.clear();
      return false;
    }
    lines.push_back(std::move(line));
  }
  return true;
}
