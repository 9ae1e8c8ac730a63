// The GIF written frame by frame: palettes of at most 256 colours, exact
// when the frame has no more, and a file the toolkit's decoder reads back
// frame for frame with the delays given.
#include "gif_writer.h"

#include <gtest/gtest.h>
#include <wx/gifdecod.h>
#include <wx/mstream.h>
#include <wx/palette.h>

#include <cstring>
#include <set>
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

bool SamePixels(const wxImage& a, const wxImage& b) {
  return a.GetSize() == b.GetSize() && memcmp(a.GetData(), b.GetData(), 64 * 64 * 3) == 0;
}

TEST(GifWriter, PalettesHoldAtMost256ColoursExactlyAndTheDecoderReadsEveryFrameBack) {
  const int counts[] = {1, 2, 200, 256, 257, 1000};
  std::vector<wxImage> written;
  wxMemoryOutputStream out;
  barywalk::GifFrameWriter writer;
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
    ASSERT_TRUE(writer.WriteFrame(paletted, out, 7));
    written.push_back(paletted);
  }
  ASSERT_TRUE(writer.Finish(out));
  EXPECT_EQ(writer.FramesWritten(), 6);

  wxMemoryInputStream in(out);
  wxGIFDecoder decoder;
  ASSERT_EQ(decoder.LoadGIF(in), wxGIF_OK);
  ASSERT_EQ(decoder.GetFrameCount(), written.size());
  for (unsigned i = 0; i < written.size(); ++i) {
    EXPECT_EQ(decoder.GetDelay(i), 70);
    wxImage back;
    ASSERT_TRUE(decoder.ConvertToImage(i, &back));
    EXPECT_TRUE(SamePixels(back, written[i])) << counts[i];
  }
}

}  // namespace
