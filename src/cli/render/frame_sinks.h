// Where barywalk-render's frames go: one PNG, a numbered PNG sequence, an
// animated GIF or an MP4 video. Every sink writes beside its final name and
// moves the result there only on Commit(), so a failed or interrupted run
// leaves nothing under the final name.
#pragma once

#include <wx/image.h>

#include <memory>

#include "render_options.h"

namespace barywalk {

class FrameSink {
 public:
  virtual ~FrameSink() = default;
  // Takes the next frame. Throws std::runtime_error when it cannot be
  // written (UsageError when the encoder is missing).
  virtual void Add(const wxImage& frame) = 0;
  // As Add, for a frame that no one else refers to; leaves `frame` empty.
  // A sink that keeps frames for later takes it without copying it.
  virtual void Take(wxImage& frame) {
    Add(frame);
    frame = wxImage();
  }
  // Completes the output and gives it its final name.
  virtual void Commit() = 0;
};

// The sink for `options.output`. Checks at once that the output can be
// written (and, for MP4, that the encoder is there): throws UsageError
// otherwise. Needs no display.
std::unique_ptr<FrameSink> OpenFrameSink(const RenderOptions& options);

// `sink` fed from a thread of its own, so that encoding a frame overlaps
// drawing the next one. At most `depth` frames wait. A failure of the sink
// is thrown by the next Add or by Commit.
std::unique_ptr<FrameSink> InBackground(std::unique_ptr<FrameSink> sink, int depth = 4);

}  // namespace barywalk
