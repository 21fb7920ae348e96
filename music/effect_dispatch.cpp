// The effect dispatch both formats share: which handler a cell's effect and parameter run.
#include "music/player.h"

namespace {

constexpr int EffectExtended = 14;

}  // namespace

void Tunemix_Player::ApplyEffect(int c, const Tunemix_Track* track) {
  const int note = track->notes[row];
  const int eff = track->effects[row];
  const int param = track->params[row];
  const int hi = track->paramHigh[row];
  const int lo = track->paramLow[row];

  // Song-level effects act whether or not the channel has an instrument.
  switch (eff) {
    case 0xB: PositionJump(param); return;
    case 0xD: PatternBreak(param); return;
    case 0xF: SetSpeedTempo(param); return;
    case EffectExtended:
      if (hi == 6) return PatternLoop(lo);
      if (hi == 14 && !patternDelayNeedsInstrument) return PatternDelay(lo);
      break;
    default: break;
  }
  if (!chInstrument[c]) return;

  switch (eff) {
    case 0x0: Arpeggio(c, param, hi, lo); break;
    case 0x1: PortaUp(c, note, param); break;
    case 0x2: PortaDown(c, note, param); break;
    case 0x3: TonePortaSetup(c, note, param); break;
    case 0x4: VibratoSetup(c, hi, lo); break;
    case 0x5: TonePortaVolSlide(c, note, hi, lo); break;
    case 0x6: VibratoVolSlide(c, note, hi, lo); break;
    case 0x9: SampleOffset(c, param); break;
    case 0xA: VolumeSlide(c, note, hi, lo); break;
    case 0xC: SetVolume(c, param); break;
    case EffectExtended:
      switch (hi) {
        case 1: FinePortaUp(c, lo); break;
        case 2: FinePortaDown(c, lo); break;
        case 5: SetFinetune(c, lo); break;
        case 9: Retrigger(c, lo); break;
        case 10: FineVolumeUp(c, lo); break;
        case 11: FineVolumeDown(c, lo); break;
        case 12: NoteCut(c, lo); break;
        case 13: NoteDelay(c, lo); break;
        case 14: PatternDelay(lo); break;  // reached only where it needs an instrument
        default: FormatEffect(c, eff, param, hi, lo); break;
      }
      break;
    default: FormatEffect(c, eff, param, hi, lo); break;
  }
}
