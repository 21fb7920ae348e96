// Replies of the game-list and address services read as lines of text, each cut to what its
// reader can use.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The reply's lines from the first up to the first empty one (or the end), at most maxLines,
// each cut to longest characters (the rest of a longer line is dropped). False when no complete
// reply with status 200 came in time (OpenHttp), or when the reply is not plain text: a line
// holding a control character (binary data) or starting with "<" (an HTML page).
bool FetchReplyLines(const std::string& host, const std::string& path, size_t maxLines, size_t longest,
                     std::vector<std::string>& lines);
