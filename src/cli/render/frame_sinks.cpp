#include "frame_sinks.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <wx/imagpng.h>
#include <wx/log.h>
#include <wx/stream.h>
#include <wx/wfstream.h>

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "cli_args.h"
#include "cli_output.h"
#include "gif_writer.h"
#include "video_frame.h"

extern char** environ;

namespace barywalk {
namespace {

// The toolkit's output stream over an output file's standard stream.
class StreamOnOutputFile : public wxOutputStream {
 public:
  explicit StreamOnOutputFile(std::ostream& out) : m_out(out) {}

 protected:
  size_t OnSysWrite(const void* buffer, size_t size) override {
    m_out.write(static_cast<const char*>(buffer), static_cast<std::streamsize>(size));
    if (!m_out) {
      m_lasterror = wxSTREAM_WRITE_ERROR;
      return 0;
    }
    return size;
  }

 private:
  std::ostream& m_out;
};

// Fast compression: the frames are mostly black and compress well anyway
// (some 20 KB at 640 pixels), and a run writes thousands of them. Trying
// every row filter, as the library does by default, costs more than
// drawing; the "sub" filter with run-length matching compresses these
// frames as well.
constexpr int kPngCompressionLevel = 1;
constexpr int kPngSubFilter = 0x10;    // PNG_FILTER_SUB
constexpr int kZlibRunLengthOnly = 3;  // Z_RLE

void SavePng(const wxImage& frame, wxOutputStream& out, const std::string& name) {
  wxLogNull quiet;  // the failure is reported once, here
  wxImage image = frame;
  image.SetOption(wxIMAGE_OPTION_PNG_COMPRESSION_LEVEL, kPngCompressionLevel);
  image.SetOption(wxIMAGE_OPTION_PNG_FILTER, kPngSubFilter);
  image.SetOption(wxIMAGE_OPTION_PNG_COMPRESSION_STRATEGY, kZlibRunLengthOnly);
  if (!image.SaveFile(out, wxBITMAP_TYPE_PNG) || !out.IsOk()) {
    throw std::runtime_error("cannot write " + name + " completely (is the disk full?)");
  }
}

// --- One PNG ------------------------------------------------------------------

class SinglePngSink : public FrameSink {
 public:
  explicit SinglePngSink(const std::string& path) : m_out(path) {}
  void Add(const wxImage& frame) override {
    StreamOnOutputFile stream(m_out.stream());
    SavePng(frame, stream, m_out.path());
  }
  void Commit() override { m_out.Commit(); }

 private:
  OutputFile m_out;
};

// --- A numbered PNG sequence ---------------------------------------------------

// The frames go into a hidden folder beside them and are moved to their
// names when the run is complete.
class PngSequenceSink : public FrameSink {
 public:
  explicit PngSequenceSink(const std::string& pattern)
      : m_pattern(pattern), m_folder(FolderOf(pattern)) {
    ParseFramePattern(NameOf(pattern), m_namePattern);
    std::string temp = m_folder + "/.barywalk-render-XXXXXX";
    std::vector<char> buffer(temp.begin(), temp.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) {
      throw OutputError("cannot write " + pattern + ": " + std::strerror(errno));
    }
    m_tempFolder = buffer.data();
  }

  ~PngSequenceSink() override {
    if (m_committed) return;
    for (const std::string& name : m_names) std::remove((m_tempFolder + "/" + name).c_str());
    rmdir(m_tempFolder.c_str());
  }

  void Add(const wxImage& frame) override {
    const std::string name =
        FrameFileName(m_namePattern, static_cast<std::int64_t>(m_names.size()) + 1);
    const std::string path = m_tempFolder + "/" + name;
    m_names.push_back(name);
    // The name as bytes: the toolkit's file streams need a name that is text.
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
      throw OutputError("cannot write " + m_folder + "/" + name + ": " + std::strerror(errno));
    }
    StreamOnOutputFile out(file);
    SavePng(frame, out, m_folder + "/" + name);
    file.close();
    if (file.fail()) throw OutputError("cannot write " + m_folder + "/" + name + " completely");
  }

  void Commit() override {
    for (const std::string& name : m_names) {
      const std::string target = m_folder + "/" + name;
      if (std::rename((m_tempFolder + "/" + name).c_str(), target.c_str()) != 0) {
        throw std::runtime_error("cannot write " + target + ": " + std::strerror(errno));
      }
    }
    m_committed = true;
    rmdir(m_tempFolder.c_str());
  }

 private:
  std::string m_pattern, m_folder, m_tempFolder;
  FramePattern m_namePattern;
  std::vector<std::string> m_names;  // written so far, in the hidden folder
  bool m_committed = false;
};

// --- An animated GIF ------------------------------------------------------------

class GifSink : public FrameSink {
 public:
  GifSink(const std::string& path, double fps)
      : m_out(path),
        m_stream(m_out.stream()),
        m_writer(m_stream),
        m_delay(GifDelayCentiseconds(fps)) {}

  void Add(const wxImage& frame) override {
    wxLogNull quiet;
    if (!m_writer.WriteFrame(ToPaletteImage(frame), m_delay)) {
      throw std::runtime_error("cannot write " + m_out.path() + " completely (is the disk full?)");
    }
  }

  void Commit() override {
    if (!m_writer.Finish()) throw std::runtime_error("cannot write " + m_out.path());
    m_out.Commit();
  }

 private:
  OutputFile m_out;
  StreamOnOutputFile m_stream;
  GifFrameWriter m_writer;
  int m_delay;
};

// --- An MP4 video through the ffmpeg program -------------------------------------

// The encoder program: $BARYWALK_FFMPEG, or ffmpeg on the PATH.
std::string FindFfmpeg() {
  const char* chosen = std::getenv("BARYWALK_FFMPEG");
  if (chosen != nullptr && *chosen != '\0') {
    return access(chosen, X_OK) == 0 ? chosen : "";
  }
  const char* path = std::getenv("PATH");
  std::string folders = path != nullptr ? path : "/usr/bin:/bin";
  std::size_t begin = 0;
  while (begin <= folders.size()) {
    std::size_t end = folders.find(':', begin);
    if (end == std::string::npos) end = folders.size();
    const std::string folder = end > begin ? folders.substr(begin, end - begin) : ".";
    const std::string candidate = folder + "/ffmpeg";
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    begin = end + 1;
  }
  return "";
}

std::vector<char*> ArgvOf(std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  return argv;
}

// Starts `args` with its standard input and output on the given descriptors
// (-1: /dev/null) and its standard error on ours. Returns the process id, or
// -1 with errno set.
pid_t Spawn(std::vector<std::string> args, int in, int out) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (in >= 0) {
    posix_spawn_file_actions_adddup2(&actions, in, STDIN_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  }
  if (out >= 0) {
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  }
  std::vector<char*> argv = ArgvOf(args);
  pid_t pid = -1;
  const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) {
    errno = error;
    return -1;
  }
  return pid;
}

int WaitFor(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// What `ffmpeg -encoders` prints.
std::string EncoderList(const std::string& ffmpeg) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return "";
  const pid_t pid = Spawn({ffmpeg, "-hide_banner", "-encoders"}, -1, fds[1]);
  close(fds[1]);
  std::string text;
  char buffer[4096];
  ssize_t got = 0;
  while (pid > 0 &&
         ((got = read(fds[0], buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR))) {
    if (got > 0) text.append(buffer, static_cast<std::size_t>(got));
  }
  close(fds[0]);
  if (pid > 0) WaitFor(pid);
  return text;
}

constexpr const char* kVideoEncoder = "libx264";
// x264's preset: the slowest that still encodes a frame in less time than
// the program draws one, on two cores. Up to the dialog's sizes "veryfast"
// makes films less than half as large as "ultrafast" for a quarter more
// time (1980-2040 at 640 pixels: 5.5 MB in 5.2 s against 12.6 MB in 4.1 s).
// Larger frames get "ultrafast": the 200-year classroom film at 1080 pixels
// takes 22 s and some 80 MB with it, 34 s and 29 MB with "veryfast".
constexpr int kLargestVeryfastWidth = 720;
const char* VideoPresetFor(int width) {
  return width <= kLargestVeryfastWidth ? "veryfast" : "ultrafast";
}

class Mp4Sink : public FrameSink {
 public:
  Mp4Sink(const std::string& path, int width, double fps)
      : m_path(path), m_width(width), m_fps(fps) {
    m_ffmpeg = FindFfmpeg();
    if (m_ffmpeg.empty()) {
      throw UsageError("cannot encode " + path +
                       ": the ffmpeg program was not found (Debian package ffmpeg)");
    }
    if (EncoderList(m_ffmpeg).find(std::string(" ") + kVideoEncoder + " ") == std::string::npos) {
      throw UsageError("cannot encode " + path + ": " + m_ffmpeg + " has no " + kVideoEncoder +
                       " (H.264) encoder");
    }
    if (width % 2 != 0) {
      throw UsageError("an MP4 video needs an even --width (H.264 halves the colour resolution)");
    }
    m_temp.emplace(path);
  }

  ~Mp4Sink() override {
    if (m_pid > 0) {
      if (m_pipe >= 0) close(m_pipe);
      kill(m_pid, SIGTERM);
      WaitFor(m_pid);
    }
  }

  void Add(const wxImage& frame) override {
    if (m_pid <= 0) Start();
    RgbToYuv420Bt709(frame.GetData(), frame.GetWidth(), frame.GetHeight(), m_yuv);
    const std::uint8_t* data = m_yuv.data();
    std::size_t left = m_yuv.size();
    while (left > 0) {
      const ssize_t written = write(m_pipe, data, left);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) {
        throw std::runtime_error("the encoder " + m_ffmpeg + " stopped; no MP4 written");
      }
      data += written;
      left -= static_cast<std::size_t>(written);
    }
  }

  void Commit() override {
    if (m_pid <= 0) Start();
    close(m_pipe);
    m_pipe = -1;
    const int status = WaitFor(m_pid);
    m_pid = -1;
    if (status != 0) {
      throw std::runtime_error("the encoder " + m_ffmpeg + " failed (exit status " +
                               std::to_string(status) + "); no MP4 written");
    }
    if (!m_temp->Commit()) {
      throw std::runtime_error("cannot write " + m_path + ": " + std::strerror(errno));
    }
  }

 private:
  void Start() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("cannot start " + m_ffmpeg);
    const std::string size = std::to_string(m_width) + "x" + std::to_string(m_width);
    char rate[32];
    std::snprintf(rate, sizeof rate, "%.6g", m_fps);
    m_pid =
        Spawn({m_ffmpeg, "-hide_banner", "-loglevel", "error",
               // The frames arrive already in the encoder's own format.
               "-f", "rawvideo", "-pix_fmt", "yuv420p", "-video_size", size, "-framerate", rate,
               "-i", "pipe:0", "-an",
               "-c:v", kVideoEncoder, "-preset", VideoPresetFor(m_width), "-crf", "18",
               // Say how the colours were converted, so that no player guesses.
               "-color_range", "tv", "-colorspace", "bt709", "-color_primaries", "bt709",
               "-color_trc", "bt709",
               "-movflags", "+faststart", "-f", "mp4", "-y", m_temp->path()},
              fds[0], -1);
    const int error = errno;
    close(fds[0]);
    m_pipe = fds[1];
    if (m_pid <= 0) {
      throw std::runtime_error("cannot start " + m_ffmpeg + ": " + std::strerror(error));
    }
  }

  std::string m_path, m_ffmpeg;
  // Reserved once the encoder is known to be there.
  std::optional<ReservedTemporary> m_temp;
  int m_width;
  double m_fps;
  std::vector<std::uint8_t> m_yuv;  // the frame being written
  pid_t m_pid = -1;
  int m_pipe = -1;
};

// --- Encoding beside drawing ---------------------------------------------------

class BackgroundSink : public FrameSink {
 public:
  BackgroundSink(std::unique_ptr<FrameSink> sink, int depth)
      : m_sink(std::move(sink)),
        m_depth(static_cast<std::size_t>(depth)),
        m_thread([this] { Work(); }) {}

  // Without Commit the frames still waiting are dropped.
  ~BackgroundSink() override {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_queue.clear();
    }
    Stop();
  }

  void Add(const wxImage& frame) override {
    wxImage own = frame.Copy();
    Take(own);
  }

  // The toolkit's pictures count their references without locks: the
  // queue's copy must be the only one left once the thread can reach it.
  // Both counts change here, under the lock; the thread takes its frame
  // under the same lock.
  void Take(wxImage& frame) override {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queue.size() < m_depth || m_error; });
    RethrowLocked();
    m_queue.push_back(frame);
    frame = wxImage();
    m_changed.notify_all();
  }

  void Commit() override {
    Stop();
    RethrowLocked();
    m_sink->Commit();
  }

 private:
  void Work() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
      m_changed.wait(lock, [this] { return !m_queue.empty() || m_stopping; });
      if (m_queue.empty()) return;
      wxImage frame = m_queue.front();
      m_queue.pop_front();
      m_changed.notify_all();
      if (m_error) continue;  // drop the rest after a failure
      lock.unlock();
      std::exception_ptr error;
      try {
        m_sink->Add(frame);
      } catch (...) {
        error = std::current_exception();
      }
      frame = wxImage();
      lock.lock();
      if (error && !m_error) m_error = error;
      m_changed.notify_all();
    }
  }

  // Lets the thread finish the frames that wait, then joins it.
  void Stop() {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_stopping = true;
      m_changed.notify_all();
    }
    if (m_thread.joinable()) m_thread.join();
  }

  void RethrowLocked() {
    if (m_error) std::rethrow_exception(m_error);
  }

  std::unique_ptr<FrameSink> m_sink;
  std::size_t m_depth;
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::deque<wxImage> m_queue;
  std::exception_ptr m_error;
  bool m_stopping = false;
  std::thread m_thread;  // last: starts once everything above is set up
};

}  // namespace

std::unique_ptr<FrameSink> InBackground(std::unique_ptr<FrameSink> sink, int depth) {
  return std::make_unique<BackgroundSink>(std::move(sink), depth);
}

std::unique_ptr<FrameSink> OpenFrameSink(const RenderOptions& options) {
  switch (options.kind) {
    case OutputKind::SinglePng:
      return std::make_unique<SinglePngSink>(options.output);
    case OutputKind::PngSequence:
      return std::make_unique<PngSequenceSink>(options.output);
    case OutputKind::Gif:
      return std::make_unique<GifSink>(options.output, options.fps);
    case OutputKind::Mp4:
      return std::make_unique<Mp4Sink>(options.output, options.width, options.fps);
  }
  throw UsageError("unknown output kind");
}

}  // namespace barywalk
