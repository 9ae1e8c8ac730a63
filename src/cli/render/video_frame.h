// A frame of 8-bit RGB as the planar Y'CbCr 4:2:0 that H.264 players
// expect (BT.709, limited range: Y' 16-235, Cb and Cr 16-240), so that the
// encoder gets frames it can take without converting them itself.
#pragma once

#include <cstdint>
#include <vector>

namespace barywalk {

// Converts the w x h picture `rgb` (rows of R, G, B bytes, no padding; w and
// h even) into `yuv`: the Y' plane (w x h), then Cb and Cr (w/2 x h/2 each),
// each chroma sample from the mean of a 2 x 2 block. `yuv` is resized to
// w * h * 3 / 2 bytes.
void RgbToYuv420Bt709(const unsigned char* rgb, int w, int h, std::vector<std::uint8_t>& yuv);

}  // namespace barywalk
