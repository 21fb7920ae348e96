// Key-map lookup and the volume envelope with its sustain and loop.
#include "music/instrument.h"

#include <algorithm>

std::shared_ptr<Tunemix_Sample> Tunemix_Instrument::SampleForNote(int note) const {
  if (note < 1 || note > 95) return nullptr;
  const int number = keyMap[note];
  if (number < 0 || number >= MaxInstrumentSamples) return nullptr;
  return samples[number];
}

void Tunemix_Instrument::AddEnvelopePoint(int tick, int value) {
  auto point = std::make_shared<Tunemix_EnvelopePoint>();
  point->tick = tick;
  point->value = static_cast<float>(value / 64.0);
  volumePoints.push_back(std::move(point));
}

int Tunemix_Instrument::PointIndex(int point) const {
  int index = point > 0 ? point - 1 : 0;
  const int last = static_cast<int>(volumePoints.size()) - 1;
  return std::max(0, std::min(index, last));
}

void Tunemix_Instrument::SetSustain(int point) {
  sustainIndex = PointIndex(point);
  sustainPoint = volumePoints.empty() ? nullptr : volumePoints[sustainIndex];
}

void Tunemix_Instrument::SetLoop(int startPoint, int endPoint) {
  loopStartIndex = PointIndex(startPoint);
  loopEndIndex = PointIndex(endPoint);
  loopStartPoint = volumePoints.empty() ? nullptr : volumePoints[loopStartIndex];
  loopEndPoint = volumePoints.empty() ? nullptr : volumePoints[loopEndIndex];
}

float Tunemix_Instrument::EnvelopeValue(int& tick, int& index) {
  // Only the points that exist can be in use, whatever count the file claims.
  const int count = std::min(volumePointCount, static_cast<int>(volumePoints.size()));
  if (volumeFlags == 0 || count <= 0) return 1.0f;
  if ((volumeFlags & 4) && index >= loopEndIndex && loopStartPoint) {
    tick = loopStartPoint->tick;
    index = loopStartIndex;
  }
  if ((volumeFlags & 2) && index >= sustainIndex && sustainPoint) return sustainPoint->value;
  index = std::max(0, std::min(index, count - 1));

  currentPoint = volumePoints[index];
  if (tick == currentPoint->tick) return currentPoint->value;
  if (index + 1 >= count) return currentPoint->value;
  nextPoint = volumePoints[index + 1];
  if (tick >= nextPoint->tick) {
    ++index;
    return nextPoint->value;
  }
  if (currentPoint->tick < tick && tick < nextPoint->tick) {
    slope = (nextPoint->value - currentPoint->value) /
            static_cast<float>(nextPoint->tick - currentPoint->tick);
    const float v = currentPoint->value + slope * static_cast<float>(tick - currentPoint->tick);
    return v > 1.0f ? 1.0f : v;
  }
  return 0.0f;
}
