// The flare side of the dialog: flare files chosen by the user, the flare
// layer in the frame with its statistics, the symbol settings and the
// statistics file. (Reading, symbols and statistics themselves are tested
// with the flares.)
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>

#include "dialog_fixture.h"
#include "flares/flare_symbols.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSize = 640;
const wxColour kNorth(255, 0, 0);
const wxColour kSouth(0, 0, 255);

class FlareDialogTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    clip_ = barywalk::GetFlareAreaClip();
    logScale_ = barywalk::GetFlareLogScale();
    dir_ = fs::temp_directory_path() /
           ("barywalk-flares-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
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

  // A flare file with a header line and one line per entry of `lines`.
  wxString WriteFlareFile(const std::string& name, const std::vector<std::string>& lines) {
    const fs::path path = dir_ / name;
    std::ofstream out(path);
    out << "JD lat lon duration area\n";
    for (const std::string& line : lines) out << line << "\n";
    return wxString(path.string());
  }

  // "jd 10 20 30 area" lines for the Julian days first, first + 1, ...
  static std::vector<std::string> Lines(int count, double first, double area = 100) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
      char line[128];
      std::snprintf(line, sizeof line, "%.6f 10 20 30 %g", first + i, area);
      lines.push_back(line);
    }
    return lines;
  }

  static wxArrayString Paths(std::initializer_list<wxString> paths) {
    wxArrayString result;
    for (const wxString& path : paths) result.Add(path);
    return result;
  }

  // Index by Julian day, in key order.
  std::vector<std::pair<double, int>> Loaded() {
    std::vector<std::pair<double, int>> loaded;
    for (const auto& [jd, flare] : access->Flares()) loaded.emplace_back(jd, flare.Index());
    return loaded;
  }

  fs::path dir_;

 private:
  double clip_ = 0;
  bool logScale_ = false;
};

// ---------------------------------------------------------------------------
// Reading flare files.

TEST_F(FlareDialogTest, FilesAreReadInOrderWithOneIndexAndReplaceTheEarlierLoad) {
  const wxString a = WriteFlareFile("a.flr", Lines(3, 2450000, 400));
  const wxString b = WriteFlareFile("b.flr", Lines(4, 2450100, 100));

  EXPECT_TRUE(access->ReadFlareFiles(Paths({a, b})));
  const std::vector<std::pair<double, int>> both = {
      {2450000, 1}, {2450001, 2}, {2450002, 3}, {2450100, 4},
      {2450101, 5}, {2450102, 6}, {2450103, 7}};
  EXPECT_EQ(Loaded(), both);
  EXPECT_DOUBLE_EQ(access->MaxFlareSize(), 20.0);  // sqrt(400)

  // The same file twice: its flares twice, numbered on; the earlier load
  // is gone, and the largest size is that of the new load.
  EXPECT_TRUE(access->ReadFlareFiles(Paths({b, b})));
  ASSERT_EQ(access->Flares().size(), 8u);
  std::vector<int> indices;
  for (const auto& [jd, flare] : access->Flares()) {
    if (jd == 2450100) indices.push_back(flare.Index());
  }
  EXPECT_EQ(indices, (std::vector<int>{1, 5}));  // equal keys in reading order
  EXPECT_DOUBLE_EQ(access->MaxFlareSize(), 10.0);
  EXPECT_TRUE(messages.empty());
}

TEST_F(FlareDialogTest, UnreadableFileIsToldOnceAndTheOthersAreLoaded) {
  const wxString a = WriteFlareFile("a.flr", Lines(3, 2450000));
  const wxString missing = wxString((dir_ / "missing.flr").string());
  const wxString b = WriteFlareFile("b.flr", Lines(4, 2450100));

  EXPECT_TRUE(access->ReadFlareFiles(Paths({a, missing, b})));
  EXPECT_EQ(access->Flares().size(), 7u);
  EXPECT_EQ(access->Flares().rbegin()->second.Index(), 7);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].text.Contains(
      "missing.flr : 0 flares (cannot be read: No such file or directory)"))
      << messages[0].text;
  EXPECT_FALSE(messages[0].text.Contains("a.flr"));
  EXPECT_FALSE(messages[0].text.Contains("b.flr"));
  EXPECT_TRUE(messages[0].style & wxICON_WARNING);

  // Nothing readable at all: nothing loaded, no symbol size.
  messages.clear();
  EXPECT_FALSE(access->ReadFlareFiles(Paths({missing})));
  EXPECT_TRUE(access->Flares().empty());
  EXPECT_EQ(access->MaxFlareSize(), 0.0);
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(FlareDialogTest, IncompleteLinesAreCountedLoadedAndTold) {
  std::vector<std::string> lines = Lines(2, 2450000);
  lines.insert(lines.begin() + 1, "2450000.5 12 north");
  lines.push_back("");
  const wxString file = WriteFlareFile("gaps.flr", lines);

  EXPECT_TRUE(access->ReadFlareFiles(Paths({file})));
  EXPECT_EQ(access->Flares().size(), 4u);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].text.Contains("gaps.flr : 4 flares (2 incomplete lines)"))
      << messages[0].text;
  EXPECT_TRUE(messages[0].text.Contains("taken as 0"));
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

  barywalk::FlareFileReport closed;
  closed.error = "Permission denied";
  EXPECT_EQ(access->FlareFileLine("y.flr", closed),
            "y.flr : 0 flares (cannot be read: Permission denied)");
}

TEST_F(FlareDialogTest, ReadingWhilePlayingOnlyAsksToStop) {
  ASSERT_TRUE(access->ReadFlareFiles(Paths({WriteFlareFile("a.flr", Lines(3, 2450000))})));
  access->PlayForward();
  access->ReadFlaresClicked();  // a file dialog here would wait for the user
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Simulation ongoing, stop it first.");
  EXPECT_EQ(messages[0].style, wxOK | wxCENTRE);
  EXPECT_EQ(access->Flares().size(), 3u);
}

// ---------------------------------------------------------------------------
// The flare layer in the frame.

class FlareFrameTest : public FlareDialogTest {
 protected:
  void SetUp() override {
    FlareDialogTest::SetUp();
    SetRun(wxDateTime(1, wxDateTime::Jan, 1990), wxDateTime(1, wxDateTime::Jan, 2040), 0.11);
    access->ResetSimulation();
    ASSERT_EQ(access->Panel()->GetSize(), wxSize(kSize, kSize));
    jd_ = access->SimTime();
    // At the simulated time: north of the equator in the Earth's direction,
    // and on the equator 90 degrees east; no areas, so both are largest.
    char north[128], equator[128];
    std::snprintf(north, sizeof north, "%.9f 20 0 10 0", jd_);
    std::snprintf(equator, sizeof equator, "%.9f 0.0 90 10 0", jd_);
    ASSERT_TRUE(access->ReadFlareFiles(Paths({WriteFlareFile("now.flr", {north, equator})})));
    key_ = access->Flares().begin()->first;
  }

  wxImage DialogFrame() {
    wxBitmap bitmap(kSize, kSize, 24);
    wxMemoryDC dc(bitmap);
    if (wxGraphicsContext* gc = dc.GetGraphicsContext()) gc->SetAntialiasMode(wxANTIALIAS_NONE);
    dialog->DrawFrame(dc, kSize, kSize);
    dc.SelectObject(wxNullBitmap);
    return bitmap.ConvertToImage();
  }

  // Where a flare's symbol is centred: R |cos lat| from the Sun's centre in
  // the direction of (Earth's longitude - flare's longitude).
  wxPoint SymbolCentre(double latitudeDeg, double longitudeDeg) const {
    const double radius = 0.7 * kSize / 6;
    const double angle = barywalk::EarthLongitude(jd_) - longitudeDeg * M_PI / 180;
    const double q = std::fabs(std::cos(latitudeDeg * M_PI / 180));
    return wxPoint(static_cast<int>(access->SunOffset().x - radius * std::cos(angle) * q),
                   static_cast<int>(access->SunOffset().y + radius * std::sin(angle) * q));
  }

  static int WhitePixels(const wxImage& image, const wxRect& rect) {
    int white = 0;
    for (int y = rect.y; y <= rect.GetBottom(); ++y) {
      for (int x = rect.x; x <= rect.GetRight(); ++x) {
        if (guitest::PixelAt(image, x, y) == *wxWHITE) ++white;
      }
    }
    return white;
  }

  double jd_ = 0;
  double key_ = 0;
};

TEST_F(FlareFrameTest, FlaresAtTheSimulatedTimeShowOnTheDiscWithTheirCount) {
  const wxPoint north = SymbolCentre(20, 0);
  const wxPoint equator = SymbolCentre(0, 90);
  const wxRect countText(10, kSize - 20, 80, 16);

  wxImage frame = DialogFrame();
  EXPECT_EQ(guitest::PixelAt(frame, north.x, north.y), kNorth);
  EXPECT_EQ(guitest::PixelAt(frame, north.x + 10, north.y), kNorth);  // radius 14
  EXPECT_EQ(guitest::PixelAt(frame, equator.x, equator.y), kSouth);
  const int whiteWithCount = WhitePixels(frame, countText);

  access->ShowFlares()->SetValue(false);
  frame = DialogFrame();
  EXPECT_NE(guitest::PixelAt(frame, north.x, north.y), kNorth);
  EXPECT_NE(guitest::PixelAt(frame, equator.x, equator.y), kSouth);
  EXPECT_GT(whiteWithCount, WhitePixels(frame, countText) + 10);
}

TEST_F(FlareFrameTest, EachDrawnFlareIsMeasuredAgainstThePlanets) {
  access->ShowFlares()->SetValue(false);
  DialogFrame();
  EXPECT_TRUE(access->FlareStats().empty());  // no layer, no statistics

  access->ShowFlares()->SetValue(true);
  DialogFrame();
  const barywalk::FlareStatMap& stats = access->FlareStats();
  ASSERT_EQ(stats.size(), 2u);
  const barywalk::FlareStat& north = stats.at(1);
  const barywalk::PlanetLongitudes& planets = access->PlanetLongitudes();
  EXPECT_EQ(north.Jd(), key_);
  EXPECT_EQ(north.Area(), 0.0);
  EXPECT_DOUBLE_EQ(north.FlareAngle(), barywalk::EarthLongitude(jd_));
  ASSERT_EQ(planets.count(north.ClosestPlanet()), 1u);
  EXPECT_EQ(north.ClosestPlanetAngle(), planets.at(north.ClosestPlanet()));
  EXPECT_EQ(north.EarthAngle(), planets.at("Earth"));
  EXPECT_DOUBLE_EQ(stats.at(2).FlareAngle(), barywalk::EarthLongitude(jd_) - M_PI / 2);
}

TEST_F(FlareFrameTest, LaterFramesKeepTheCloserMeasurement) {
  barywalk::FlareStatMap& stats = access->FlareStats();
  // Flare 1 was once right on Mars' direction: nothing is closer.
  stats.emplace(1, barywalk::FlareStat(key_, 0, 1.25, "Mars", 1.25, 0.5));
  // Flare 2 was once opposite to its planet: any frame is closer.
  stats.emplace(2, barywalk::FlareStat(key_, 0, 0.0, "<none", M_PI, 0.5));
  DialogFrame();
  EXPECT_EQ(stats.at(1).ClosestPlanet(), "Mars");
  EXPECT_EQ(stats.at(1).FlareAngle(), 1.25);
  EXPECT_NE(stats.at(2).ClosestPlanet(), "<none");
  EXPECT_DOUBLE_EQ(stats.at(2).FlareAngle(), barywalk::EarthLongitude(jd_) - M_PI / 2);
}

// ---------------------------------------------------------------------------
// Symbol settings: clipping and logarithmic scale.

TEST_F(FlareDialogTest, ClipAndLogScaleSetTheSettingsAndTheLargestSize) {
  std::vector<std::string> lines = Lines(1, 2450000, 2500);
  lines.push_back("2450001 10 20 30 100");
  ASSERT_TRUE(access->ReadFlareFiles(Paths({WriteFlareFile("sizes.flr", lines)})));
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
}

TEST_F(FlareDialogTest, PlayRecomputesTheLargestSize) {
  ASSERT_TRUE(access->ReadFlareFiles(Paths({WriteFlareFile("big.flr", Lines(1, 2450000, 900))})));
  barywalk::SetFlareAreaClip(100);  // as a click while stopped would leave it
  access->PlayForward();
  EXPECT_DOUBLE_EQ(access->MaxFlareSize(), 10.0);
  access->Stop();
  barywalk::SetFlareAreaClip(400);
  access->PlayReverse();
  EXPECT_DOUBLE_EQ(access->MaxFlareSize(), 20.0);
}

// ---------------------------------------------------------------------------
// The statistics file.

class DumpStatsTest : public FlareDialogTest {
 protected:
  void SetUp() override {
    FlareDialogTest::SetUp();
    access->FlareStats().emplace(3, barywalk::FlareStat(2451545.0, 120, 1.0, "Mars", 1.01, 0.2));
    access->FlareStats().emplace(7, barywalk::FlareStat(2451546.5, 0, 2.0, "Venus", 2.5, 0.3));
  }

  static std::vector<std::string> ReadLines(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
};

TEST_F(DumpStatsTest, WrittenFileHoldsHeaderAndOneLinePerFlareAndEmptiesTheStatistics) {
  const fs::path path = dir_ / "flare_stats.txt";
  EXPECT_TRUE(access->DumpStatsTo(wxString(path.string())));
  const std::vector<std::string> lines = ReadLines(path);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].rfind(" JD test_angle[deg] ", 0), 0u);
  EXPECT_EQ(lines[1].rfind(" 2451545 ", 0), 0u) << lines[1];
  EXPECT_NE(lines[1].find(" Mars "), std::string::npos);
  EXPECT_EQ(lines[2].rfind(" 2451546.5 ", 0), 0u) << lines[2];
  EXPECT_TRUE(access->FlareStats().empty());
  EXPECT_TRUE(messages.empty());
}

TEST_F(DumpStatsTest, UnwritablePathIsToldWithItsReasonAndTheStatisticsAreKept) {
  struct Case {
    fs::path path;
    const char* reason;
  };
  const Case cases[] = {{"/nonexistent/dir/x.txt", "No such file or directory"},
                        {dir_, "Is a directory"}};
  for (const Case& c : cases) {
    messages.clear();
    EXPECT_FALSE(access->DumpStatsTo(wxString(c.path.string())));
    ASSERT_EQ(messages.size(), 1u) << c.path;
    EXPECT_TRUE(messages[0].text.Contains(c.path.string())) << messages[0].text;
    EXPECT_TRUE(messages[0].text.Contains(c.reason)) << messages[0].text;
    EXPECT_TRUE(messages[0].style & wxICON_ERROR);
    EXPECT_EQ(access->FlareStats().size(), 2u);
  }
}

TEST_F(DumpStatsTest, DumpWhilePlayingDoesNothing) {
  access->PlayForward();  // empties the statistics: put one back
  access->FlareStats().emplace(1, barywalk::FlareStat(2451545.0, 0, 1.0, "Mars", 1.0, 0.2));
  access->DumpStatsClicked();  // a file dialog here would wait for the user
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(access->FlareStats().size(), 1u);
}

}  // namespace
