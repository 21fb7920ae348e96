// Creating patterns and tracks, and the row texts shown for them.
#include "music/pattern.h"

#include "music/player.h"

namespace {

const char HexDigits[] = "0123456789ABCDEF";

std::string TwoHex(int value) {
  return {HexDigits[(value >> 4) & 15], HexDigits[value & 15]};
}

}  // namespace

std::shared_ptr<Tunemix_Track> Tunemix_Track::Create(int rowCount) {
  auto track = std::make_shared<Tunemix_Track>();
  const size_t rows = rowCount > 0 ? static_cast<size_t>(rowCount) : 0;
  track->rowCount = static_cast<int>(rows);
  for (auto* column : {&track->notes, &track->instrumentNumbers, &track->volumes, &track->effects,
                       &track->params, &track->paramHigh, &track->paramLow}) {
    column->assign(rows, 0);
  }
  return track;
}

std::string Tunemix_Track::RowText(int row) const {
  if (row < 0 || row >= rowCount) return {};
  std::string text;
  const int note = notes[row];
  if (note > 0 && note < NoteKeyOff) {
    text = Tunemix_Player::NoteName(note) + " ";
  } else if (note == NoteKeyOff) {
    text = " |  ";
  } else {
    text = "--- ";
  }
  for (int value : {instrumentNumbers[row], volumes[row]}) {
    text += value > 0 ? TwoHex(value) + " " : "   ";
  }
  if (effects[row] == 0 && params[row] == 0) {
    text += "   ";
  } else {
    text += HexDigits[effects[row] & 15];
    text += TwoHex(params[row]);
  }
  return text;
}

std::shared_ptr<Tunemix_Pattern> Tunemix_Pattern::Create(int trackCount, int rowCount) {
  auto pattern = std::make_shared<Tunemix_Pattern>();
  pattern->trackCount = trackCount > 0 ? trackCount : 0;
  pattern->rowCount = rowCount > 0 ? rowCount : 0;
  for (int t = 0; t < pattern->trackCount; ++t) pattern->tracks.push_back(Tunemix_Track::Create(rowCount));
  pattern->rowTexts.assign(static_cast<size_t>(pattern->rowCount) + 1, std::string());
  return pattern;
}

void Tunemix_Pattern::BuildRowTexts() {
  for (int r = 0; r < rowCount; ++r) {
    std::string text;
    for (const auto& track : tracks) text += track->RowText(r) + "|";
    rowTexts[r] = std::move(text);
  }
}
