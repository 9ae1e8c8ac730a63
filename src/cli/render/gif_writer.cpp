#include "gif_writer.h"

#include <wx/palette.h>
#include <wx/quantize.h>

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

// The toolkit's colour triple of its GIF encoder, which its header only
// declares; this is the toolkit's own definition.
struct wxRGB {
  wxUint8 red;
  wxUint8 green;
  wxUint8 blue;
};

namespace barywalk {
namespace {

constexpr std::size_t kMaxColours = 256;
constexpr unsigned char kGifTrailer = 0x3B;

std::uint32_t Packed(const unsigned char* rgb) {
  return (std::uint32_t{rgb[0]} << 16) | (std::uint32_t{rgb[1]} << 8) | rgb[2];
}

// The colours of `image` by how often they occur, most frequent first;
// stops counting at kMaxColours + 1 colours.
std::vector<std::pair<std::uint32_t, std::size_t>> ColoursByFrequency(const wxImage& image) {
  std::unordered_map<std::uint32_t, std::size_t> counts;
  const unsigned char* data = image.GetData();
  const std::size_t pixels = static_cast<std::size_t>(image.GetWidth()) * image.GetHeight();
  // Frames are mostly long runs of one colour: count a run at a time.
  std::size_t i = 0;
  while (i < pixels && counts.size() <= kMaxColours) {
    const std::uint32_t colour = Packed(data + 3 * i);
    std::size_t run = 1;
    while (i + run < pixels && Packed(data + 3 * (i + run)) == colour) ++run;
    counts[colour] += run;
    i += run;
  }
  std::vector<std::pair<std::uint32_t, std::size_t>> sorted(counts.begin(), counts.end());
  std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
    return a.second > b.second || (a.second == b.second && a.first < b.first);
  });
  return sorted;
}

}  // namespace

wxImage ToPaletteImage(const wxImage& frame) {
  wxImage image = frame.Copy();
  auto colours = ColoursByFrequency(image);
  if (colours.size() > kMaxColours) {
    wxImage quantized;
    wxPalette* palette = nullptr;
    wxQuantize::Quantize(frame, quantized, &palette, kMaxColours, nullptr,
                         wxQUANTIZE_FILL_DESTINATION_IMAGE);
    delete palette;
    image = quantized;
    colours = ColoursByFrequency(image);
  }
  // The encoder looks every pixel up from the start of the palette, so the
  // most frequent colours come first.
  std::vector<unsigned char> red, green, blue;
  for (const auto& entry : colours) {
    red.push_back(static_cast<unsigned char>(entry.first >> 16));
    green.push_back(static_cast<unsigned char>(entry.first >> 8));
    blue.push_back(static_cast<unsigned char>(entry.first));
  }
  image.SetPalette(
      wxPalette(static_cast<int>(colours.size()), red.data(), green.data(), blue.data()));
  return image;
}

bool GifFrameWriter::WriteFrame(const wxImage& paletteImage, wxOutputStream& out,
                                int delayCentiseconds) {
  const wxPalette& palette = paletteImage.GetPalette();
  const int count = palette.GetColoursCount();
  if (!palette.IsOk() || count < 1 || count > static_cast<int>(kMaxColours)) return false;
  wxRGB colours[kMaxColours];
  for (int i = 0; i < count; ++i) {
    palette.GetRGB(i, &colours[i].red, &colours[i].green, &colours[i].blue);
  }
  const bool first = m_frames == 0;
  const bool ok = DoSaveFile(paletteImage, &out, false, first, 10 * delayCentiseconds,
                             true /* loop */, colours, count, wxNOT_FOUND) &&
                  out.IsOk();
  if (ok) ++m_frames;
  return ok;
}

bool GifFrameWriter::Finish(wxOutputStream& out) {
  out.PutC(static_cast<char>(kGifTrailer));
  return out.IsOk();
}

}  // namespace barywalk
