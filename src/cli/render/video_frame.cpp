#include "video_frame.h"

namespace barywalk {
namespace {

// ITU-R BT.709 luma weights.
constexpr double kKr = 0.2126, kKb = 0.0722, kKg = 1.0 - kKr - kKb;
// Limited ("TV") range: 219 steps of luma above 16, 224 of chroma around 128.
constexpr double kLumaSpan = 219.0 / 255.0, kChromaSpan = 224.0 / 255.0;

// Fixed point: luma weights in units of 2^-16, chroma weights (applied to
// the sum of four pixels) in units of 2^-18.
constexpr int kLumaShift = 16, kChromaShift = 18;

constexpr int Fixed(double weight, int shift) {
  const double scaled = weight * (1 << shift);
  return static_cast<int>(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
}

struct Weights {
  int r, g, b;
};

constexpr Weights kLuma{Fixed(kLumaSpan * kKr, kLumaShift), Fixed(kLumaSpan * kKg, kLumaShift),
                        Fixed(kLumaSpan * kKb, kLumaShift)};
// Cb = (B - Y) / (2 (1 - Kb)), Cr = (R - Y) / (2 (1 - Kr)), before scaling;
// the chroma shift includes the division by four of the 2 x 2 sum.
constexpr int kQuarter = kChromaShift - 2;
constexpr Weights kCb{Fixed(-kChromaSpan * kKr / (2 * (1 - kKb)), kQuarter),
                      Fixed(-kChromaSpan * kKg / (2 * (1 - kKb)), kQuarter),
                      Fixed(kChromaSpan * 0.5, kQuarter)};
constexpr Weights kCr{Fixed(kChromaSpan * 0.5, kQuarter),
                      Fixed(-kChromaSpan * kKg / (2 * (1 - kKr)), kQuarter),
                      Fixed(-kChromaSpan * kKb / (2 * (1 - kKr)), kQuarter)};
constexpr int kLumaOffset = (16 << kLumaShift) + (1 << (kLumaShift - 1));
constexpr int kChromaOffset = (128 << kChromaShift) + (1 << (kChromaShift - 1));

inline std::uint8_t Luma(const unsigned char* p) {
  return static_cast<std::uint8_t>((kLuma.r * p[0] + kLuma.g * p[1] + kLuma.b * p[2] + kLumaOffset) >>
                                   kLumaShift);
}

inline std::uint8_t Chroma(const Weights& k, int r4, int g4, int b4) {
  return static_cast<std::uint8_t>((k.r * r4 + k.g * g4 + k.b * b4 + kChromaOffset) >> kChromaShift);
}

}  // namespace

void RgbToYuv420Bt709(const unsigned char* rgb, int w, int h, std::vector<std::uint8_t>& yuv) {
  const std::size_t pixels = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
  yuv.resize(pixels * 3 / 2);
  std::uint8_t* luma = yuv.data();
  std::uint8_t* cb = luma + pixels;
  std::uint8_t* cr = cb + pixels / 4;
  const std::size_t stride = static_cast<std::size_t>(w) * 3;
  for (int y = 0; y < h; y += 2) {
    const unsigned char* top = rgb + static_cast<std::size_t>(y) * stride;
    const unsigned char* bottom = top + stride;
    std::uint8_t* lumaTop = luma + static_cast<std::size_t>(y) * w;
    std::uint8_t* lumaBottom = lumaTop + w;
    for (int x = 0; x < w; ++x) {
      lumaTop[x] = Luma(top + 3 * x);
      lumaBottom[x] = Luma(bottom + 3 * x);
    }
    const std::size_t row = static_cast<std::size_t>(y / 2) * (w / 2);
    for (int x = 0; x < w; x += 2) {
      const unsigned char* a = top + 3 * x;
      const unsigned char* b = bottom + 3 * x;
      const int r4 = a[0] + a[3] + b[0] + b[3];
      const int g4 = a[1] + a[4] + b[1] + b[4];
      const int b4 = a[2] + a[5] + b[2] + b[5];
      cb[row + x / 2] = Chroma(kCb, r4, g4, b4);
      cr[row + x / 2] = Chroma(kCr, r4, g4, b4);
    }
  }
}

}  // namespace barywalk
