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
  for (int y = 0; y < image.GetHeight(); ++y) {
    for (int x = 0; x < image.GetWidth(); ++x) {
      colours.insert((image.GetRed(x, y) << 16) | (image.GetGreen(x, y) << 8) |
                     image.GetBlue(x, y));
    }
  }
  return colours;
}

TEST(GifWriter, PalettesAreExactUpTo256ColoursAndQuantizedBeyond) {
  for (int colours : {1, 2, 200, 256, 257, 1000}) {
    SCOPED_TRACE(colours);
    const wxImage frame = Banded(colours);
    ASSERT_EQ(ColoursOf(frame).size(), static_cast<std::size_t>(colours));
    const wxImage paletted = barywalk::ToPaletteImage(frame);
    ASSERT_TRUE(paletted.HasPalette());
    const wxPalette& palette = paletted.GetPalette();
    EXPECT_LE(palette.GetColoursCount(), 256);
    unsigned char r = 1, g = 1, b = 1;
    ASSERT_TRUE(palette.GetRGB(0, &r, &g, &b));
    if (colours <= 256) {
      EXPECT_EQ(r + g + b, 0);  // the most frequent colour first
    }
    std::set<unsigned long> inPalette;
    for (int i = 0; i < palette.GetColoursCount(); ++i) {
      palette.GetRGB(i, &r, &g, &b);
      inPalette.insert((r << 16) | (g << 8) | b);
    }
    EXPECT_EQ(ColoursOf(paletted).size(), inPalette.size());
    for (unsigned long colour : ColoursOf(paletted)) EXPECT_EQ(inPalette.count(colour), 1u);
    if (colours <= 256) {
      EXPECT_EQ(0, memcmp(paletted.GetData(), frame.GetData(), 64 * 64 * 3));
    }
  }
}

TEST(GifWriter, TheDecoderReadsBackEveryFrameWithItsDelay) {
  const wxImage frames[] = {Banded(3), Banded(256), Banded(40)};
  wxMemoryOutputStream out;
  barywalk::GifFrameWriter writer;
  for (const wxImage& frame : frames) {
    ASSERT_TRUE(writer.WriteFrame(barywalk::ToPaletteImage(frame), out, 7));
  }
  ASSERT_TRUE(writer.Finish(out));
  EXPECT_EQ(writer.FramesWritten(), 3);

  wxMemoryInputStream in(out);
  wxGIFDecoder decoder;
  ASSERT_EQ(decoder.LoadGIF(in), wxGIF_OK);
  ASSERT_EQ(decoder.GetFrameCount(), 3u);
  for (unsigned i = 0; i < 3; ++i) {
    EXPECT_EQ(decoder.GetDelay(i), 70);
    wxImage back;
    ASSERT_TRUE(decoder.ConvertToImage(i, &back));
    ASSERT_EQ(back.GetSize(), frames[i].GetSize());
    EXPECT_EQ(0, memcmp(back.GetData(), frames[i].GetData(), 64 * 64 * 3)) << i;
  }
}

}  // namespace
