// The GIF written frame by frame: palettes of at most 256 colours, exact
// when the frame has no more, later frames holding only what changed, and
// a file the toolkit's decoder reads back frame for frame with the delays
// given.
#include "gif_writer.h"
#include "gif_frames.h"

#include <gtest/gtest.h>
#include <wx/gifdecod.h>
#include <wx/mstream.h>
#include <wx/palette.h>

#include <cstring>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

// A frame of `colours` distinct colours in bands, black the most frequent.
wxImage Banded(int colours) {
  wxImage image(64, 64);
  image.SetRGB(wxRect(0, 0, 64, 64), 0, 0, 0);
  for (int i = 1; i < colours; ++i) {
    image.SetRGB(i % 64, 32 + i / 64, static_cast<unsigned char>(i & 0xff),
                 static_cast<unsigned char>(i >> 8), 1);
  }
  return image;
}

std::set<unsigned long> ColoursOf(const wxImage& image) {
  std::set<unsigned long> colours;
  const unsigned char* p = image.GetData();
  for (int i = 0; i < image.GetWidth() * image.GetHeight(); ++i, p += 3) {
    colours.insert((p[0] << 16) | (p[1] << 8) | p[2]);
  }
  return colours;
}

std::string BytesOf(const wxMemoryOutputStream& out) {
  std::string bytes(out.GetLength(), '\0');
  out.CopyTo(bytes.data(), bytes.size());
  return bytes;
}

bool SamePixels(const wxImage& a, const wxImage& b) {
  return a.GetSize() == b.GetSize() && memcmp(a.GetData(), b.GetData(), 64 * 64 * 3) == 0;
}

TEST(GifWriter, PalettesHoldAtMost256ColoursExactlyAndTheDecoderReadsEveryFrameBack) {
  const int counts[] = {1, 2, 200, 256, 257, 1000};
  std::vector<wxImage> written;
  wxMemoryOutputStream out;
  barywalk::GifFrameWriter writer(out);
  for (int colours : counts) {
    SCOPED_TRACE(colours);
    const wxImage frame = Banded(colours);
    ASSERT_EQ(ColoursOf(frame).size(), static_cast<std::size_t>(colours));
    const wxImage paletted = barywalk::ToPaletteImage(frame);
    ASSERT_TRUE(paletted.HasPalette());
    const wxPalette& palette = paletted.GetPalette();
    EXPECT_LE(palette.GetColoursCount(), 256);
    std::set<unsigned long> inPalette;
    for (int i = 0; i < palette.GetColoursCount(); ++i) {
      unsigned char r = 1, g = 1, b = 1;
      ASSERT_TRUE(palette.GetRGB(i, &r, &g, &b));
      if (i == 0 && colours <= 256) {
        EXPECT_EQ(r + g + b, 0);  // the most frequent colour first
      }
      inPalette.insert((r << 16) | (g << 8) | b);
    }
    EXPECT_EQ(ColoursOf(paletted), inPalette);
    if (colours <= 256) {
      EXPECT_TRUE(SamePixels(paletted, frame));
    }
    ASSERT_TRUE(writer.WriteFrame(paletted, 7));
    written.push_back(paletted);
  }
  ASSERT_TRUE(writer.Finish());
  EXPECT_EQ(writer.FramesWritten(), 6);

  wxMemoryInputStream in(out);
  wxGIFDecoder decoder;
  ASSERT_EQ(decoder.LoadGIF(in), wxGIF_OK);
  ASSERT_EQ(decoder.GetFrameCount(), written.size());
  const std::vector<wxImage> shown = testsupport::ShownGifFrames(BytesOf(out));
  ASSERT_EQ(shown.size(), written.size());
  for (unsigned i = 0; i < written.size(); ++i) {
    EXPECT_EQ(decoder.GetDelay(i), 70);
    EXPECT_TRUE(SamePixels(shown[i], written[i])) << counts[i];
  }
}

// Changed pixels at (10, 20) and (30, 40): a 21 x 21 frame; no change: one
// pixel; all changed: the whole picture. What a viewer shows stays exact.
TEST(GifWriter, LaterFramesHoldOnlyTheChangedRectangle) {
  wxImage black(64, 64);
  black.SetRGB(wxRect(0, 0, 64, 64), 0, 0, 0);
  wxImage twoDots = black.Copy();
  twoDots.SetRGB(10, 20, 255, 0, 0);
  twoDots.SetRGB(30, 40, 0, 0, 255);
  wxImage white(64, 64);
  white.SetRGB(wxRect(0, 0, 64, 64), 255, 255, 255);
  struct Case {
    wxImage frame;
    wxRect stored;
  };
  const Case cases[] = {
      {black, {0, 0, 64, 64}},        {twoDots, {10, 20, 21, 21}}, {twoDots, {0, 0, 1, 1}},
      {black, {10, 20, 21, 21}},      {white, {0, 0, 64, 64}},
  };
  wxMemoryOutputStream out;
  barywalk::GifFrameWriter writer(out);
  for (const Case& c : cases) ASSERT_TRUE(writer.WriteFrame(barywalk::ToPaletteImage(c.frame), 3));
  ASSERT_TRUE(writer.Finish());

  wxMemoryInputStream in(out);
  wxGIFDecoder decoder;
  ASSERT_EQ(decoder.LoadGIF(in), wxGIF_OK);
  ASSERT_EQ(decoder.GetFrameCount(), std::size(cases));
  const std::vector<wxImage> shown = testsupport::ShownGifFrames(BytesOf(out));
  ASSERT_EQ(shown.size(), std::size(cases));
  for (unsigned i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(wxRect(decoder.GetFramePosition(i), decoder.GetFrameSize(i)), cases[i].stored) << i;
    EXPECT_TRUE(SamePixels(shown[i], cases[i].frame)) << i;
  }
}

}  // namespace
