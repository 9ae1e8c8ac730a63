// The flare side of the dialog: flare files chosen by the user, the flare
// layer in the frame with its statistics, the symbol settings and the
// statistics file. (Reading, symbols and statistics themselves are tested
// with the flares.)
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "dialog_fixture.h"
#include "flares/flare_symbols.h"

namespace {

namespace fs = std::filesystem;

class FlareDialogTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    clip_ = barywalk::GetFlareAreaClip();
    logScale_ = barywalk::GetFlareLogScale();
    dir_ = fs::temp_directory_path() / ("barywalk-app-flares-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }

  void TearDown() override {
    // The two settings are process-wide: later tests expect the defaults.
    barywalk::SetFlareAreaClip(clip_);
    barywalk::SetFlareLogScale(logScale_);
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
    DialogTest::TearDown();
  }

  // A flare file with a header line and the given data lines.
  wxString WriteFlareFile(const std::string& name, const std::vector<std::string>& lines) {
    std::ofstream out(dir_ / name);
    out << "JD lat lon duration area\n";
    for (const std::string& line : lines) out << line << "\n";
    return wxString((dir_ / name).string());
  }

  // `count` lines "jd 10 20 10 area" for the Julian days first, first + 1, ...
  static std::vector<std::string> Lines(int count, double first, double area = 100) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) lines.push_back(Line(first + i, 10, 20, area));
    return lines;
  }
  static std::string Line(double jd, double lat, double lon, double area) {
    char line[128];
    std::snprintf(line, sizeof line, "%.9f %g %g 10 %g", jd, lat, lon, area);
    return line;
  }

  bool Read(std::initializer_list<wxString> paths) {
    wxArrayString array;
    for (const wxString& path : paths) array.Add(path);
    return access->ReadFlareFiles(array);
  }

  fs::path dir_;

 private:
  double clip_ = 0;
  bool logScale_ = false;
};

// ---------------------------------------------------------------------------
// Reading flare files.

// One message tells about the files not read completely: here one that
// cannot be read and one with incomplete lines (which still count).
TEST_F(FlareDialogTest, FilesAreReadInOrderAndOnlyTheirProblemsAreTold) {
  const wxString a = WriteFlareFile("a.flr", Lines(3, 2450000));
  const wxString missing = wxString((dir_ / "missing.flr").string());
  std::vector<std::string> gaps = Lines(4, 2450100, 400);
  gaps.insert(gaps.begin() + 1, "2450100.5 12 north");
  gaps.push_back("");  // all fields 0
  const wxString b = WriteFlareFile("b.flr", gaps);

  EXPECT_TRUE(Read({a, missing, b}));
  ASSERT_EQ(access->Flares().size(), 9u);
  EXPECT_EQ(access->Flares().find(2450000)->second.Index(), 1);
  EXPECT_EQ(access->Flares().find(2450100.5)->second.Index(), 5);
  EXPECT_EQ(access->Flares().find(0)->second.Index(), 9);
  EXPECT_DOUBLE_EQ(access->MaxFlareSize(), 20.0);  // sqrt(400)
  ASSERT_EQ(messages.size(), 1u);
  const wxString& told = messages[0].text;
  EXPECT_TRUE(told.Contains("missing.flr : 0 flares (cannot be read: No such file or directory)"))
      << told;
  EXPECT_TRUE(told.Contains("b.flr : 6 flares (2 incomplete lines)")) << told;
  EXPECT_TRUE(told.Contains("taken as 0"));
  EXPECT_FALSE(told.Contains("a.flr"));
  EXPECT_TRUE(messages[0].style & wxICON_WARNING);

  // A new load replaces the earlier one, and its largest size counts. The
  // same file twice: its flares twice, numbered on, equal keys in order.
  messages.clear();
  EXPECT_TRUE(Read({a, a}));
  ASSERT_EQ(access->Flares().size(), 6u);
  const auto [first, end] = access->Flares().equal_range(2450000);
  ASSERT_EQ(std::distance(first, end), 2);
  EXPECT_EQ(first->second.Index(), 1);
  EXPECT_EQ(std::next(first)->second.Index(), 4);
  EXPECT_DOUBLE_EQ(access->MaxFlareSize(), 10.0);
  EXPECT_TRUE(messages.empty());

  // Nothing readable at all: nothing loaded, no symbol size.
  EXPECT_FALSE(Read({missing}));
  EXPECT_TRUE(access->Flares().empty());
  EXPECT_EQ(access->MaxFlareSize(), 0.0);
  EXPECT_EQ(messages.size(), 1u);
}

// A raw NOAA report read as flares gave thousands of flares at JD
// 31777040101; it is recognised, loads nothing, and the message names the
// command that converts it.
TEST_F(FlareDialogTest, RawCatalogIsRecognisedAndTheImportCommandNamed) {
  const fs::path report = dir_ / "goes-xrs-report_2005.txt";
  std::ofstream(report)
      << "31777050101  0001 0039 0031 N06E34SXI                      X 17    GOES 9.2E-02 10715\r\n"
         "31777050101  0927 0945 0939 N04E27SXI                      B 78    GOES 5.8E-04 10715\r\n";
  const wxString a = WriteFlareFile("a.flr", Lines(3, 2450000));
  EXPECT_TRUE(Read({wxString(report.string()), a}));
  EXPECT_EQ(access->Flares().size(), 3u);
  EXPECT_EQ(access->Flares().begin()->second.Index(), 1);
  ASSERT_EQ(messages.size(), 1u);
  const wxString& told = messages[0].text;
  EXPECT_TRUE(told.Contains("goes-xrs-report_2005.txt : 0 flares (not a flare file but a NOAA GOES XRS "
                            "event report)")) << told;
  EXPECT_TRUE(told.Contains("barywalk-flares import " + (dir_ / "goes-xrs-report_2005.txt").string() +
                            " -o " + (dir_ / "goes-xrs-report_2005.flr").string())) << told;
}

TEST_F(FlareDialogTest, PanelLineKeepsItsTextAndAddsTheProblems) {
  barywalk::FlareFileReport report;
  report.opened = true;
  report.result.flareCount = 12;
  EXPECT_EQ(access->FlareFileLine("x.flr", report), "x.flr : 12 flares");
  report.result.incompleteLines = 1;
  EXPECT_EQ(access->FlareFileLine("x.flr", report), "x.flr : 12 flares (1 incomplete line)");
  report.result.status = barywalk::FlareReadStatus::ReadError;
  report.error = "Input/output error";
  report.result.incompleteLines = 3;
  EXPECT_EQ(access->FlareFileLine("x.flr", report),
            "x.flr : 12 flares (reading stopped: Input/output error; 3 incomplete lines)");
}

// ---------------------------------------------------------------------------
// The flare layer and its settings.

// The loaded flares, the symbol scale, the visibility window, the Earth's
// direction and the dialog's planet directions (all nine, whichever are
// shown) reach the symbols and the statistics; a measurement kept from
// earlier frames stays when it was closer.
TEST_F(FlareDialogTest, FlareLayerDrawsAndMeasuresWithTheDialogsSettings) {
  ASSERT_NO_FATAL_FAILURE(UsePanelSide(kSmallestPanelSide));  // the distances below
  SetRun(wxDateTime(1, wxDateTime::Jan, 1990), wxDateTime(1, wxDateTime::Jan, 2040), 0.11);
  access->ResetSimulation();
  const double jd = access->SimTime();
  // At the simulated time: one at the north pole, drawn at the Sun's
  // centre, and one on the equator 90 degrees east; 0.2 days later one
  // more. No areas, so all are largest: a fifth of the Sun's radius (about
  // 15 pixels) times the scale factor.
  ASSERT_TRUE(Read({WriteFlareFile(
      "now.flr", {Line(jd, 90, 0, 0), Line(jd, 0, 90, 0), Line(jd + 0.2, 10, 0, 0)})}));
  const double key = access->Flares().begin()->first;
  auto redAt = [&](const wxImage& frame, int dx) {
    return guitest::PixelAt(frame, static_cast<int>(access->SunOffset().x) + dx,
                            static_cast<int>(access->SunOffset().y)) == *wxRED;
  };
  barywalk::FlareStatMap& stats = access->FlareStats();

  access->ShowFlares()->SetValue(false);
  EXPECT_FALSE(redAt(DrawnFrame(), 0));
  EXPECT_TRUE(stats.empty());  // no layer, no statistics

  access->ShowFlares()->SetValue(true);
  for (int i = 0; i < barywalk::kPlanetCount; ++i) access->PlanetBox(i)->SetValue(false);
  stats.emplace(1, barywalk::FlareStat(key, 0, 1.25, "Mars", 1.25, 0.5));  // right on Mars
  wxImage frame = DrawnFrame();
  EXPECT_TRUE(redAt(frame, 0) && redAt(frame, 10));
  EXPECT_FALSE(redAt(frame, 20));
  ASSERT_EQ(stats.size(), 2u);  // the third flare is outside 300 minutes
  EXPECT_EQ(stats.at(1).ClosestPlanet(), "Mars");
  EXPECT_EQ(stats.at(1).FlareAngle(), 1.25);
  const barywalk::FlareStat& east = stats.at(2);
  const barywalk::PlanetLongitudes& planets = access->PlanetLongitudes();
  EXPECT_EQ(planets.size(), 9u);
  EXPECT_DOUBLE_EQ(east.FlareAngle(), barywalk::EarthLongitude(jd) - M_PI / 2);
  ASSERT_EQ(planets.count(east.ClosestPlanet()), 1u);
  EXPECT_EQ(east.ClosestPlanetAngle(), planets.at(east.ClosestPlanet()));
  EXPECT_EQ(east.EarthAngle(), planets.at("Earth"));

  access->FlareScale()->SetValue(2);
  access->UseDuration()->SetValue(false);  // the increment's window: two days more
  EXPECT_TRUE(redAt(DrawnFrame(), 20));
  EXPECT_EQ(stats.size(), 3u);
}

TEST_F(FlareDialogTest, ClipLogScaleAndPlaySetTheLargestSize) {
  std::vector<std::string> lines = Lines(1, 2450000, 2500);
  lines.push_back("2450001 10 20 30 100");
  ASSERT_TRUE(Read({WriteFlareFile("sizes.flr", lines)}));
  EXPECT_DOUBLE_EQ(access->MaxFlareSize(), std::sqrt(800.0));  // clipped at the start

  access->ClipLimit()->SetValue(400);
  access->ClipClicked();  // the box is checked
  EXPECT_EQ(barywalk::GetFlareAreaClip(), 400.0);
  EXPECT_DOUBLE_EQ(access->MaxFlareSize(), 20.0);

  access->ClipArea()->SetValue(false);
  access->ClipClicked();
  EXPECT_EQ(barywalk::GetFlareAreaClip(), -1.0);
  EXPECT_DOUBLE_EQ(access->MaxFlareSize(), 50.0);

  access->LogScale()->SetValue(true);
  access->LogScaleClicked();
  EXPECT_TRUE(barywalk::GetFlareLogScale());
  EXPECT_DOUBLE_EQ(access->MaxFlareSize(), std::sqrt(std::log(2501.0)));

  access->LogScale()->SetValue(false);
  access->LogScaleClicked();
  EXPECT_FALSE(barywalk::GetFlareLogScale());
  EXPECT_DOUBLE_EQ(access->MaxFlareSize(), 50.0);

  // Play takes the settings as they are when it starts.
  barywalk::SetFlareAreaClip(100);
  access->PlayForward();
  EXPECT_DOUBLE_EQ(access->MaxFlareSize(), 10.0);
  access->Stop();
  barywalk::SetFlareAreaClip(400);
  access->PlayReverse();
  EXPECT_DOUBLE_EQ(access->MaxFlareSize(), 20.0);
}

// ---------------------------------------------------------------------------
// The statistics file (its format is tested with the flares).

// A failed write tells why and keeps the statistics for another try; only
// a complete write empties them.
TEST_F(FlareDialogTest, StatisticsAreKeptUntilWrittenCompletely) {
  access->FlareStats().emplace(3, barywalk::FlareStat(2451545.0, 120, 1.0, "Mars", 1.01, 0.2));
  access->FlareStats().emplace(7, barywalk::FlareStat(2451546.5, 0, 2.0, "Venus", 2.5, 0.3));
  EXPECT_FALSE(access->DumpStatsTo("/nonexistent/dir/x.txt"));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].text.Contains("/nonexistent/dir/x.txt")) << messages[0].text;
  EXPECT_TRUE(messages[0].text.Contains("No such file or directory")) << messages[0].text;
  EXPECT_TRUE(messages[0].style & wxICON_ERROR);
  EXPECT_EQ(access->FlareStats().size(), 2u);

  const fs::path path = dir_ / "flare_stats.txt";
  EXPECT_TRUE(access->DumpStatsTo(wxString(path.string())));
  EXPECT_TRUE(access->FlareStats().empty());
  EXPECT_EQ(messages.size(), 1u);
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].rfind(" JD test_angle[deg] ", 0), 0u);
  EXPECT_EQ(lines[1].rfind(" 2451545 ", 0), 0u) << lines[1];
  EXPECT_NE(lines[1].find(" Mars "), std::string::npos);
  EXPECT_EQ(lines[2].rfind(" 2451546.5 ", 0), 0u) << lines[2];
}

// The file dialogs would wait for the user: the handlers must return first.
TEST_F(FlareDialogTest, WhilePlayingFilesAreNeitherReadNorWritten) {
  ASSERT_TRUE(Read({WriteFlareFile("a.flr", Lines(3, 2450000))}));
  access->PlayForward();  // starts the statistics afresh: put one in
  access->FlareStats().emplace(1, barywalk::FlareStat(2451545.0, 0, 1.0, "Mars", 1.0, 0.2));
  access->DumpStatsClicked();
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(access->FlareStats().size(), 1u);
  access->ReadFlaresClicked();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Simulation ongoing, stop it first.");
  EXPECT_EQ(messages[0].style, wxOK | wxCENTRE);
  EXPECT_EQ(access->Flares().size(), 3u);
}

}  // namespace
