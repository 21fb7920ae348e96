// The player's song position: orders, rows, jumps, breaks, the song's end and its length.
#include "music/player.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "music/music_tables.h"

Tunemix_Player::Tunemix_Player() { BuildMusicTables(); }

std::string Tunemix_Player::NoteName(int note) {
  if (note > 0 && note < 109) return NoteNames[note];
  return note < 0 ? "<<<" : ">>>";
}

double Tunemix_Player::NoteToFrequency(const Tunemix_Sample& sample, double note) {
  const double n = note + sample.finetune + sample.relativeNote;
  return 8363.0 * std::pow(2.0, (4608.0 - (7680.0 - 64.0 * n)) / 768.0);
}

int TruncNote(double note) {
  if (!(note > -2147483648.0 && note < 2147483648.0)) return 0;
  return static_cast<int>(note);
}

void Tunemix_Player::SetOrder(int index) {
  if (index < 0 || index >= static_cast<int>(orders.size())) index = 0;
  order = index;
  pattern = orders.empty() ? 0 : orders[index];
}

int Tunemix_Player::RowCountOf(int patternNumber) const {
  const Tunemix_Pattern* p = PatternAt(patternNumber);
  if (!p || p->tracks.empty()) return 64;
  return p->tracks[0]->rowCount > 0 ? p->tracks[0]->rowCount : 1;
}

const Tunemix_Track* Tunemix_Player::TrackAt(const Tunemix_Pattern* p, int c) const {
  if (p && c < static_cast<int>(p->tracks.size()) && row >= 0 && row < p->tracks[c]->rowCount) {
    return p->tracks[c].get();
  }
  return nullptr;
}

void Tunemix_Player::Restart() {
  Tunemix_Mixer::Restart();
  // Nothing pending from before the restart may act on the new start.
  jumpFlag = -1;
  jumpOrder = -1;
  breakRow = 0;
  loopStartRow = 0;
  loopMarker = 0;
  loopCount = -1;
  patternDelay = 0;
}

bool Tunemix_Player::Visited(int orderIndex, int rowIndex) const {
  const size_t at = static_cast<size_t>(orderIndex) * 256 + static_cast<size_t>(rowIndex);
  return orderIndex >= 0 && rowIndex >= 0 && rowIndex < 256 && at < visitedRows_.size() &&
         visitedRows_[at] != 0;
}

void Tunemix_Player::MarkVisited() {
  if (!measuring_ || order < 0 || row < 0 || row >= 256) return;
  const size_t at = static_cast<size_t>(order) * 256 + static_cast<size_t>(row);
  if (at < visitedRows_.size()) visitedRows_[at] = 1;
}

void Tunemix_Player::NextRow() {
  if (rowEvents == 1) {
    rowEvent.data = tick;
    if (onRowEvent) onRowEvent(rowEvent);
  }
  if (jumpFlag > 0) {
    if (loopCount > 0) {
      row = loopStartRow - 1;
      --loopCount;
    }
    jumpFlag = -1;
  }

  if (jumpOrder == -1) {
    ++row;
    if (row < RowCountOf(pattern)) {
      MarkVisited();
      return;
    }
    row = 0;
    loopStartRow = 0;
    loopMarker = 0;
    loopCount = -1;
    if (order < lastOrder) {
      SetOrder(order + 1);
    } else {
      length = position;
      position = 0;
      if (loop != 1) {
        playing = 0;
        Restart();
        return;
      }
      SetOrder(0);
    }
  } else {
    // A jump to an order past the song's end plays that order's pattern, then the song ends;
    // one past the order list itself goes back to the start. A break past the rows of the
    // pattern it lands in plays an empty row and moves on.
    const int target = jumpOrder < 0 || jumpOrder >= static_cast<int>(orders.size()) ? 0 : jumpOrder;
    row = breakRow;
    breakRow = 0;
    // While measuring, landing on a row already played means the song repeats from there:
    // that is its end, like a backward jump.
    const bool repeats = measuring_ && Visited(target, row);
    if ((target < order || repeats) && loop == 0) {
      playing = 0;
      Restart();
    }
    SetOrder(target);
    jumpOrder = -1;
    loopStartRow = 0;
    loopMarker = 0;
    loopCount = -1;
  }
  MarkVisited();
}

void Tunemix_Player::MeasureLength() {
  // E5x retunes the shared samples while the song runs; measuring must leave them as found.
  std::vector<std::pair<Tunemix_Sample*, double>> tunings;
  for (const auto& instrument : instruments) {
    if (!instrument) continue;
    for (const auto& sample : instrument->samples) {
      if (sample) tunings.emplace_back(sample.get(), sample->finetune);
    }
  }
  playing = 1;
  loop = 0;
  long long total = 0;
  measuring_ = true;
  visitedRows_.assign(std::max<size_t>(orders.size(), 1) * 256, 0);
  MarkVisited();
  // Bounded: the length must fit its 32-bit field, and a song of extreme speed settings
  // must not stall the caller.
  for (long long ticks = 0; ticks < MaxMeasuredTicks && total < INT_MAX; ++ticks) {
    Update();
    total += framesToTick > 0 ? framesToTick : 0;
    if (playing == 0) break;
  }
  measuring_ = false;
  visitedRows_.clear();
  visitedRows_.shrink_to_fit();
  length = total < INT_MAX ? static_cast<int>(total) : INT_MAX;
  for (const auto& [sample, finetune] : tunings) sample->finetune = finetune;
  Restart();
}

int Tunemix_Player::SetInfo(int key, int value) {
  switch (key) {
    case InfoTempo: tempo = value; return 1;
    case InfoSpeed: speed = value; return 1;
    case InfoInterpolation: interpolation = value; return 1;
    case InfoRowEvents: rowEvents = value; return 1;
    case InfoRate:
      if (!Tunemix_Mixer::SetInfo(key, value)) return 0;
      MeasureLength();
      return 1;
    default: return Tunemix_Mixer::SetInfo(key, value);
  }
}

int Tunemix_Player::GetInfo(int key) {
  switch (key) {
    case InfoPlaying: return playing;
    case InfoTempo: return tempo;
    case InfoSpeed: return speed;
    case InfoInterpolation: return interpolation;
    case InfoRow: return row;
    case InfoOrder: return order;
    case InfoPattern: return pattern;
    case InfoTick: return tick;
    case InfoRowEvents: return rowEvents;
    default: return Tunemix_Mixer::GetInfo(key);
  }
}

int Tunemix_Player::SetInfoFloat(int key, double value) {
  if (key == InfoPanSeparation) {
    panSeparation = static_cast<float>(value);
    return 1;
  }
  if (key == InfoMasterVolume) {
    masterVolume = value;
    return 1;
  }
  Tunemix_Mixer::SetInfoFloat(key, value);
  return 0;
}

double Tunemix_Player::GetInfoFloat(int key) {
  if (key == InfoPanSeparation) return panSeparation;
  if (key == InfoMasterVolume) return masterVolume;
  return 0.0;
}
