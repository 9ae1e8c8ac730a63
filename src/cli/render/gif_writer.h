// Animated GIF written frame by frame through giflib, so a run of any
// length needs the memory of one frame only. Each frame after the first
// stores only the rectangle that changed since the frame before, and
// leaves the picture in place for the next one.
#pragma once

#include <wx/image.h>
#include <wx/stream.h>

#include <vector>

struct GifFileType;

namespace barywalk {

// `frame` with a palette of at most 256 colours, most frequent first. A
// frame with at most 256 colours keeps them exactly; one with more is
// quantized by the toolkit first.
wxImage ToPaletteImage(const wxImage& frame);

class GifFrameWriter {
 public:
  explicit GifFrameWriter(wxOutputStream& out);
  ~GifFrameWriter();
  GifFrameWriter(const GifFrameWriter&) = delete;
  GifFrameWriter& operator=(const GifFrameWriter&) = delete;

  // Writes one frame of at most 256 colours (a ToPaletteImage), shown for
  // `delayCentiseconds`; the first frame writes the file's header with its
  // endless loop and sets the picture's size for all frames. False when
  // the frame does not fit or the stream fails.
  bool WriteFrame(const wxImage& frame, int delayCentiseconds);
  // Ends the file.
  bool Finish();
  int FramesWritten() const { return m_frames; }

 private:
  static int Write(GifFileType* gif, const unsigned char* data, int length);
  bool Start(int width, int height);

  wxOutputStream& m_out;
  GifFileType* m_gif = nullptr;
  int m_width = 0, m_height = 0;
  std::vector<unsigned char> m_shown;  // RGB of the picture after the last frame
  int m_frames = 0;
};

}  // namespace barywalk
