// What every music source shares: format sizes and the basic information keys.
#include "music/music.h"

int BytesPerFrame(int format) {
  switch (format) {
    case FormatMono8: return 1;
    case FormatMono16: return 2;
    case FormatStereo8: return 2;
    case FormatStereo16: return 4;
    default: return 0;
  }
}

int TMusic::Close() { return 0; }

int TMusic::SetInfoFloat(int, double) { return 0; }

double TMusic::GetInfoFloat(int) { return 0.0; }

int TMusic::SetInfo(int key, int value) {
  switch (key) {
    case InfoLoop: loop = value; return 1;
    case InfoRate: rate = value; return 1;
    case InfoFormat:
      if (value < FormatMono8 || value > FormatStereo16) return 0;
      format = value;
      return 1;
    default: return 0;
  }
}

int TMusic::GetInfo(int key) {
  switch (key) {
    case InfoLength: return length;
    case InfoPosition: return position;
    case InfoFormat: return format;
    case InfoRate: return rate;
    case InfoLoop: return loop;
    default: return 0;
  }
}
