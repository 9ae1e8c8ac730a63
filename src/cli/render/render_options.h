// barywalk-render's command line: the frame's settings with the dialog's
// defaults, the run or the instant to draw, and the output.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "render/frame_drawing.h"

namespace barywalk {

// What the output name asks for.
enum class OutputKind {
  SinglePng,    // frame.png with --at (or "-": standard output)
  PngSequence,  // frames/%05d.png: one file per frame, numbered from 1
  Gif,          // run.gif: an animated GIF
  Mp4,          // run.mp4: H.264 encoded by the ffmpeg program
};

struct RenderOptions {
  bool help = false;
  std::string output;
  OutputKind kind = OutputKind::SinglePng;
  // The run (Julian days): the player's ticks from `from` until the first
  // time at or past `to`, `step` days apart. With `hasAt` one frame at `at`;
  // its trail, if shown, is the one a run from `from` collects before `at`.
  double from = 0.0, to = 0.0, step = 0.11;
  bool hasAt = false;
  double at = 0.0;
  bool utc = false;  // dates and the date label in UTC instead of TZ
  int width = 640;   // the square panel's size, pixels
  double fps = 33.0;
  FrameSettings frame;
  std::vector<std::string> flareFiles;
  bool clip = true;
  double clipLimit = 800.0;  // millionths of the solar disk
  bool logScale = false;
};

class CommandLine;
struct RenderTexts;

// The program's options: reading the arguments fills Options(), which
// Complete() then checks as a whole (the dates, the output and its kind).
class RenderCommandLine {
 public:
  RenderCommandLine();
  ~RenderCommandLine();
  CommandLine& Program() { return *m_cli; }
  // Throws UsageError with one line for a combination it cannot take.
  void Complete();
  const RenderOptions& Options() const { return m_options; }

 private:
  RenderOptions m_options;
  std::unique_ptr<CommandLine> m_cli;
  std::unique_ptr<RenderTexts> m_texts;
};

// Reads the arguments (without the program name). Throws UsageError with
// a one-line message for anything it cannot take.
RenderOptions ParseRenderArguments(const std::vector<std::string>& args);

std::string RenderUsageText();

// The delay of one GIF frame in hundredths of a second for `fps`.
int GifDelayCentiseconds(double fps);

// A numbered file name pattern: one %d conversion, optionally zero-padded
// with a width ("%05d"), in the last path component; "%%" is a literal "%".
struct FramePattern {
  std::string prefix, suffix;
  int width = 0;
  bool zeroPad = false;
};
// False when `pattern` has no conversion, more than one, or another one.
bool ParseFramePattern(const std::string& pattern, FramePattern& parsed);
std::string FrameFileName(const FramePattern& pattern, std::int64_t number);

}  // namespace barywalk
