// barywalk-flares stats writes, byte for byte, the statistics file that
// the dialog writes after Play forward over the same run and settings.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "program_run.h"

namespace {

using testsupport::CountLines;
using testsupport::ReadFileBytes;
using testsupport::TempPath;

struct Setting {
  const char* name;
  bool sample;  // the sample file, or a catalog with areas
  wxDateTime from, to;
  const char* fromText;
  const char* toText;
  double increment;
  bool useDuration;
  double durationMinutes;
  double scale;
  bool logScale;
  bool clip;
  double clipArea;
};

// Flares with areas from 1 to 3000 millionths, so that clipping, the
// logarithm and the smallest-symbol rule all matter.
std::string CatalogWithAreas() {
  const std::string path = TempPath("areas.flr");
  std::ofstream file(path);
  file << "JD lat lon duration area\n";
  std::mt19937_64 random(5);
  std::uniform_real_distribution<double> time(2455620.5, 2455650.5);
  std::uniform_real_distribution<double> place(-70, 70);
  std::uniform_real_distribution<double> logArea(0, std::log(3000.0));
  char line[160];
  for (int i = 0; i < 400; ++i) {
    std::snprintf(line, sizeof line, "%.8f %.1f %.1f 20 %.0f\n", time(random), place(random) / 2,
                  place(random), std::exp(logArea(random)));
    file << line;
  }
  return path;
}

class StatsReplayTest : public DialogTest {
 protected:
  void ApplyToDialog(const Setting& s) {
    SetRun(s.from, s.to, s.increment);
    access->UseDuration()->SetValue(s.useDuration);
    access->DurationClicked();
    access->Duration()->SetValue(s.durationMinutes);
    access->FlareScale()->SetValue(s.scale);
    access->LogScale()->SetValue(s.logScale);
    access->LogScaleClicked();
    access->ClipLimit()->SetValue(s.clipArea);
    access->ClipArea()->SetValue(s.clip);
    access->ClipClicked();
  }

  static std::vector<std::string> CommandArgs(const Setting& s, const std::string& catalog,
                                              int width, const std::string& out) {
    std::vector<std::string> args = {"stats", "--from", s.fromText, "--to", s.toText,
                                     "--step", wxString::Format("%.17g", s.increment).ToStdString(),
                                     "--scale", wxString::Format("%.17g", s.scale).ToStdString(),
                                     "--width", std::to_string(width), "-o", out, catalog};
    if (s.useDuration) {
      args.insert(args.end(), {"--duration", wxString::Format("%.17g", s.durationMinutes).ToStdString()});
    } else {
      args.push_back("--no-duration");
    }
    if (s.logScale) args.push_back("--log");
    if (s.clip) {
      args.insert(args.end(), {"--clip", wxString::Format("%.17g", s.clipArea).ToStdString()});
    } else {
      args.push_back("--no-clip");
    }
    return args;
  }
};

TEST_F(StatsReplayTest, CommandWritesTheDialogsFileByteForByte) {
  const std::string areas = CatalogWithAreas();
  const Setting settings[] = {
      {"duration window, sample", true, wxDateTime(1, wxDateTime::Mar, 2011),
       wxDateTime(1, wxDateTime::Jun, 2011), "2011-03-01", "2011-06-01", 0.11, true, 300, 1,
       false, true, 800},
      {"increment window, sample", true, wxDateTime(10, wxDateTime::Jan, 2012),
       wxDateTime(20, wxDateTime::Apr, 2012), "2012-01-10", "2012-04-20", 0.37, false, 300, 1,
       false, true, 800},
      {"areas, small symbols, log scale", false, wxDateTime(22, wxDateTime::Feb, 2011),
       wxDateTime(25, wxDateTime::Mar, 2011), "2011-02-22", "2011-03-25", 0.05, true, 120, 0.2,
       true, false, 800},
      {"areas, clipped at 300", false, wxDateTime(22, wxDateTime::Feb, 2011),
       wxDateTime(25, wxDateTime::Mar, 2011), "2011-02-22", "2011-03-25", 0.05, true, 120, 0.15,
       false, true, 300},
  };
  for (const Setting& s : settings) {
    const std::string catalog = s.sample ? std::string(FLARE_SAMPLE_FILE) : areas;
    wxArrayString files;
    files.Add(wxString(catalog));
    ASSERT_TRUE(access->ReadFlareFiles(files)) << s.name;
    ApplyToDialog(s);
    access->PlayForward();
    int ticks = 0;
    while (access->Playing()) {
      access->Tick();
      ++ticks;
    }
    EXPECT_GT(ticks, 100) << s.name;
    const std::string fromDialog = TempPath("dialog_stats.txt");
    ASSERT_TRUE(access->DumpStatsTo(wxString(fromDialog))) << s.name;

    // The panel's real width, whatever the fonts made of the layout.
    const int width = access->Panel()->GetSize().x;
    ASSERT_GT(width, 0);
    const std::string fromCommand = TempPath("command_stats.txt");
    const testsupport::ProgramRun run = testsupport::RunProgram(
        BARYWALK_FLARES_PROGRAM, CommandArgs(s, catalog, width, fromCommand));
    ASSERT_EQ(run.status, 0) << s.name << ": " << run.err;

    const std::string dialogBytes = ReadFileBytes(fromDialog);
    EXPECT_GT(CountLines(dialogBytes), 20) << s.name;  // a real comparison, not two headers
    EXPECT_EQ(ReadFileBytes(fromCommand), dialogBytes) << s.name;
    std::remove(fromDialog.c_str());
    std::remove(fromCommand.c_str());
  }
  std::remove(areas.c_str());
}

}  // namespace
