#include "gif_writer.h"

#include <gif_lib.h>
#include <wx/palette.h>
#include <wx/quantize.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <utility>
#include <vector>

namespace barywalk {
namespace {

constexpr std::size_t kMaxColours = 256;
constexpr int kColourResolutionBits = 8;
// The application extension that makes viewers loop the animation: the
// NETSCAPE2.0 block with sub-block 1 and a loop count of 0 (endless).
constexpr char kLoopApplication[] = "NETSCAPE2.0";
constexpr unsigned char kLoopForever[] = {1, 0, 0};

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

// The smallest rectangle holding every pixel in which `frame` differs from
// `shown` (RGB, same size); an unchanged frame gives one pixel, since a GIF
// frame cannot be empty.
struct Rect {
  int left = 0, top = 0, width = 1, height = 1;
};

Rect ChangedRect(const unsigned char* frame, const unsigned char* shown, int width, int height) {
  const std::size_t row = 3 * static_cast<std::size_t>(width);
  auto rowDiffers = [&](int y) { return std::memcmp(frame + y * row, shown + y * row, row) != 0; };
  int top = 0;
  while (top < height && !rowDiffers(top)) ++top;
  if (top == height) return Rect();
  int bottom = height - 1;
  while (!rowDiffers(bottom)) --bottom;
  int left = width, right = -1;
  for (int y = top; y <= bottom; ++y) {
    const unsigned char* a = frame + y * row;
    const unsigned char* b = shown + y * row;
    for (int x = 0; x < left; ++x) {
      if (std::memcmp(a + 3 * x, b + 3 * x, 3) != 0) {
        left = x;
        break;
      }
    }
    for (int x = width - 1; x > right; --x) {
      if (std::memcmp(a + 3 * x, b + 3 * x, 3) != 0) {
        right = x;
        break;
      }
    }
  }
  return {left, top, right - left + 1, bottom - top + 1};
}

// A frame's rectangle as the file stores it: a colour map of 2, 4, ... 256
// entries and each pixel's index into it, row by row.
struct IndexedRect {
  std::vector<GifColorType> colours;
  std::vector<GifPixelType> indices;
  int transparent = NO_TRANSPARENT_COLOR;
};

// Indexes the pixels of `rect`. With `shown`, the picture the frame is laid
// over, pixels that did not change take the transparent index 0: long runs
// of one index, which the compression packs tightly. False with more
// colours than the map can hold.
bool IndexRect(const wxImage& frame, const Rect& rect, const unsigned char* shown,
               IndexedRect& out) {
  std::unordered_map<std::uint32_t, GifPixelType> indexOf;
  out.colours.clear();
  out.indices.clear();
  out.indices.reserve(static_cast<std::size_t>(rect.width) * rect.height);
  out.transparent = shown != nullptr ? 0 : NO_TRANSPARENT_COLOR;
  if (shown != nullptr) out.colours.push_back({0, 0, 0});
  const unsigned char* data = frame.GetData();
  for (int y = rect.top; y < rect.top + rect.height; ++y) {
    for (int x = rect.left; x < rect.left + rect.width; ++x) {
      const std::size_t offset = 3 * (static_cast<std::size_t>(y) * frame.GetWidth() + x);
      const unsigned char* rgb = data + offset;
      if (shown != nullptr && std::memcmp(rgb, shown + offset, 3) == 0) {
        out.indices.push_back(0);
        continue;
      }
      const auto found = indexOf.find(Packed(rgb));
      if (found != indexOf.end()) {
        out.indices.push_back(found->second);
        continue;
      }
      if (out.colours.size() == kMaxColours) return false;
      const auto index = static_cast<GifPixelType>(out.colours.size());
      indexOf.emplace(Packed(rgb), index);
      out.colours.push_back({rgb[0], rgb[1], rgb[2]});
      out.indices.push_back(index);
    }
  }
  if (shown != nullptr) {
    // The transparent entry gets a colour no pixel has: decoders that turn
    // it into a mask colour then mask nothing else.
    std::uint32_t unused = 0;
    while (indexOf.count(unused) > 0) ++unused;
    out.colours[0] = {static_cast<GifByteType>(unused >> 16), static_cast<GifByteType>(unused >> 8),
                      static_cast<GifByteType>(unused)};
  }
  std::size_t size = 2;  // a colour map has a power of two entries, at least 2
  while (size < out.colours.size()) size *= 2;
  out.colours.resize(size, GifColorType{0, 0, 0});
  return true;
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
  // Most frequent first, so that a viewer or tool that reduces the palette
  // further keeps the colours that matter most.
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

GifFrameWriter::GifFrameWriter(wxOutputStream& out) : m_out(out) {}

GifFrameWriter::~GifFrameWriter() {
  if (m_gif != nullptr) EGifCloseFile(m_gif, nullptr);
}

int GifFrameWriter::Write(GifFileType* gif, const unsigned char* data, int length) {
  auto* writer = static_cast<GifFrameWriter*>(gif->UserData);
  writer->m_out.Write(data, static_cast<std::size_t>(length));
  return writer->m_out.IsOk() ? static_cast<int>(writer->m_out.LastWrite()) : 0;
}

bool GifFrameWriter::Start(int width, int height) {
  int error = 0;
  m_gif = EGifOpen(this, &GifFrameWriter::Write, &error);
  if (m_gif == nullptr) return false;
  m_width = width;
  m_height = height;
  m_shown.assign(3 * static_cast<std::size_t>(width) * height, 0);
  EGifSetGifVersion(m_gif, true);
  return EGifPutScreenDesc(m_gif, width, height, kColourResolutionBits, 0, nullptr) == GIF_OK &&
         EGifPutExtensionLeader(m_gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(m_gif, sizeof kLoopApplication - 1, kLoopApplication) == GIF_OK &&
         EGifPutExtensionBlock(m_gif, sizeof kLoopForever, kLoopForever) == GIF_OK &&
         EGifPutExtensionTrailer(m_gif) == GIF_OK;
}

bool GifFrameWriter::WriteFrame(const wxImage& frame, int delayCentiseconds) {
  const bool first = m_frames == 0;
  if (first && !Start(frame.GetWidth(), frame.GetHeight())) return false;
  if (m_gif == nullptr || frame.GetWidth() != m_width || frame.GetHeight() != m_height) {
    return false;
  }
  const Rect rect = first ? Rect{0, 0, m_width, m_height}
                          : ChangedRect(frame.GetData(), m_shown.data(), m_width, m_height);
  // A rectangle of 256 changed colours leaves no room for the transparent
  // index: it is stored whole.
  IndexedRect indexed;
  if (!IndexRect(frame, rect, first ? nullptr : m_shown.data(), indexed) &&
      !IndexRect(frame, rect, nullptr, indexed)) {
    return false;
  }

  // Each frame stays in place under the next, which holds only what changed.
  GraphicsControlBlock control{};
  control.DisposalMode = DISPOSE_DO_NOT;
  control.DelayTime = delayCentiseconds;
  control.TransparentColor = indexed.transparent;
  GifByteType extension[4];
  const std::size_t extensionLength = EGifGCBToExtension(&control, extension);
  ColorMapObject* map =
      GifMakeMapObject(static_cast<int>(indexed.colours.size()), indexed.colours.data());
  if (map == nullptr) return false;
  bool ok = EGifPutExtension(m_gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(extensionLength),
                             extension) == GIF_OK &&
            EGifPutImageDesc(m_gif, rect.left, rect.top, rect.width, rect.height, false, map) ==
                GIF_OK;
  GifFreeMapObject(map);  // the image description keeps its own copy
  for (int y = 0; ok && y < rect.height; ++y) {
    ok = EGifPutLine(m_gif, indexed.indices.data() + static_cast<std::size_t>(y) * rect.width,
                     rect.width) == GIF_OK;
  }
  if (!ok) return false;
  std::memcpy(m_shown.data(), frame.GetData(), m_shown.size());
  ++m_frames;
  return true;
}

bool GifFrameWriter::Finish() {
  if (m_gif == nullptr) return false;
  const bool ok = EGifCloseFile(m_gif, nullptr) == GIF_OK;  // writes the trailer
  m_gif = nullptr;
  return ok && m_out.IsOk();
}

}  // namespace barywalk
