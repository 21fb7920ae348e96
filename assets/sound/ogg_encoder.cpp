// Ogg Vorbis encoding with a fixed stream serial number, so repeated builds give equal files.
#include "assets/sound/ogg_encoder.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace {

constexpr int StreamSerial = 0x51585221;
constexpr float Quality = 0.5f;
constexpr int BlockFrames = 1024;

void AppendPage(const ogg_page& page, std::vector<uint8_t>& out) {
  out.insert(out.end(), page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

std::vector<uint8_t> EncodeOgg(const std::vector<float>& samples, int rate) { return EncodeOggChannels({samples}, rate); }

std::vector<uint8_t> EncodeOggChannels(const std::vector<std::vector<float>>& channels, int rate) {
  std::vector<uint8_t> out;
  if (channels.empty()) return out;
  const size_t frames = channels[0].size();
  for (const auto& channel : channels)
    if (channel.size() != frames) return out;
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, static_cast<long>(channels.size()), rate, Quality) != 0) {
    vorbis_info_clear(&info);
    return out;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_comment_add_tag(&comment, "TITLE", "QXR Online sound effect");
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, StreamSerial);

  ogg_packet header, commentPacket, codePacket;
  vorbis_analysis_headerout(&dsp, &comment, &header, &commentPacket, &codePacket);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &commentPacket);
  ogg_stream_packetin(&stream, &codePacket);
  ogg_page page;
  while (ogg_stream_flush(&stream, &page) != 0) AppendPage(page, out);

  size_t position = 0;
  bool ended = false;
  while (!ended) {
    size_t count = std::min<size_t>(BlockFrames, frames - position);
    if (count == 0) {
      vorbis_analysis_wrote(&dsp, 0);  // end of stream
    } else {
      float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
      for (size_t c = 0; c < channels.size(); ++c)
        for (size_t i = 0; i < count; ++i) buffer[c][i] = std::clamp(channels[c][position + i], -1.0f, 1.0f);
      vorbis_analysis_wrote(&dsp, static_cast<int>(count));
      position += count;
    }
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page) != 0) {
          AppendPage(page, out);
          if (ogg_page_eos(&page)) ended = true;
        }
      }
    }
    if (count == 0) {
      while (ogg_stream_flush(&stream, &page) != 0) AppendPage(page, out);
      ended = true;
    }
  }

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}
