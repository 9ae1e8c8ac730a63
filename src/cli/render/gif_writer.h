// Animated GIF written frame by frame with the toolkit's GIF encoder, so a
// run of any length needs the memory of one frame only (the toolkit's
// SaveAnimation wants every frame in memory at once: 1.2 MB a frame at 640
// pixels).
#pragma once

#include <wx/image.h>
#include <wx/imaggif.h>
#include <wx/stream.h>

namespace barywalk {

// `frame` with a palette of at most 256 colours, most frequent first. A
// frame with at most 256 colours keeps them exactly; one with more is
// quantized by the toolkit first.
wxImage ToPaletteImage(const wxImage& frame);

class GifFrameWriter : private wxGIFHandler {
 public:
  // Writes one frame (of a palette image) shown for `delayCentiseconds`;
  // the first frame writes the file's header with its endless loop.
  bool WriteFrame(const wxImage& paletteImage, wxOutputStream& out, int delayCentiseconds);
  // Ends the file.
  bool Finish(wxOutputStream& out);
  int FramesWritten() const { return m_frames; }

 private:
  int m_frames = 0;
};

}  // namespace barywalk
