// The pictures a viewer shows for an animated GIF, decoded with giflib:
// each frame's rectangle laid over the picture left by the frame before,
// its transparent pixels showing what lies under them. (The toolkit's
// decoder gives the rectangles alone and alters colours equal to its mask
// colour, so it cannot show frames exactly.)
#pragma once

#include <gif_lib.h>
#include <wx/image.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace testsupport {

namespace gifdetail {
struct Reader {
  const std::string* bytes;
  std::size_t at;
};
inline int Read(GifFileType* gif, GifByteType* buffer, int length) {
  auto* reader = static_cast<Reader*>(gif->UserData);
  const std::size_t n = std::min<std::size_t>(length, reader->bytes->size() - reader->at);
  std::memcpy(buffer, reader->bytes->data() + reader->at, n);
  reader->at += n;
  return static_cast<int>(n);
}
}  // namespace gifdetail

// Empty when the file cannot be read or a frame asks to be removed after
// it is shown (frames are written to stay in place).
inline std::vector<wxImage> ShownGifFrames(const std::string& bytes) {
  gifdetail::Reader reader{&bytes, 0};
  int error = 0;
  GifFileType* gif = DGifOpen(&reader, gifdetail::Read, &error);
  if (gif == nullptr) return {};
  std::vector<wxImage> shown;
  if (DGifSlurp(gif) == GIF_OK) {
    wxImage picture(gif->SWidth, gif->SHeight);  // black
    for (int i = 0; i < gif->ImageCount; ++i) {
      const SavedImage& frame = gif->SavedImages[i];
      const GifImageDesc& d = frame.ImageDesc;
      GraphicsControlBlock control{};
      control.TransparentColor = NO_TRANSPARENT_COLOR;
      DGifSavedExtensionToGCB(gif, i, &control);
      const ColorMapObject* map = d.ColorMap != nullptr ? d.ColorMap : gif->SColorMap;
      if (map == nullptr || control.DisposalMode != DISPOSE_DO_NOT ||
          d.Left + d.Width > gif->SWidth || d.Top + d.Height > gif->SHeight) {
        shown.clear();
        break;
      }
      for (int y = 0; y < d.Height; ++y) {
        for (int x = 0; x < d.Width; ++x) {
          const int index = frame.RasterBits[y * d.Width + x];
          if (index == control.TransparentColor || index >= map->ColorCount) continue;
          const GifColorType& c = map->Colors[index];
          picture.SetRGB(d.Left + x, d.Top + y, c.Red, c.Green, c.Blue);
        }
      }
      shown.push_back(picture.Copy());
    }
  }
  DGifCloseFile(gif, &error);
  return shown;
}

}  // namespace testsupport
