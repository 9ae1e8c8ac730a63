// The dialog starts without a toolkit complaint: GTK prints a critical or a
// warning when a widget is given less room than it needs, and it then draws
// the widget cut off. Every GLib message of this process is recorded here
// and passed on to GLib's own writer unchanged, so nothing is hidden.
#include <dlfcn.h>
#include <sys/types.h>

#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "dialog_fixture.h"

namespace {

// GLib's structured log field and writer, declared here as GLib defines
// them: the test reaches GLib through the toolkit's own libraries.
struct GLogField {
  const char* key;
  const void* value;
  ssize_t length;
};
using LogWriter = int (*)(int level, const GLogField* fields, size_t count, void* data);
using SetLogWriter = void (*)(LogWriter writer, void* data, void (*destroy)(void*));

constexpr int kLevelError = 1 << 2;
constexpr int kLevelCritical = 1 << 3;
constexpr int kLevelWarning = 1 << 4;

std::mutex recordedLock;
std::vector<std::string> recorded;  // "Domain-LEVEL: message"
LogWriter defaultWriter = nullptr;

std::string FieldText(const GLogField& field) {
  const auto* text = static_cast<const char*>(field.value);
  if (!text) return "";
  return field.length < 0 ? std::string(text) : std::string(text, field.length);
}

int RecordAndForward(int level, const GLogField* fields, size_t count, void* data) {
  if (level & (kLevelError | kLevelCritical | kLevelWarning)) {
    std::string domain = "(no domain)", message;
    for (size_t i = 0; i < count; ++i) {
      if (std::strcmp(fields[i].key, "GLIB_DOMAIN") == 0) domain = FieldText(fields[i]);
      if (std::strcmp(fields[i].key, "MESSAGE") == 0) message = FieldText(fields[i]);
    }
    const char* kind = level & kLevelError ? "ERROR" : level & kLevelCritical ? "CRITICAL" : "WARNING";
    std::lock_guard<std::mutex> hold(recordedLock);
    recorded.push_back(domain + "-" + kind + ": " + message);
  }
  return defaultWriter(level, fields, count, data);
}

// Installed before main, so before the toolkit starts: from then on every
// message goes through RecordAndForward. False when this is no GLib build.
const bool kRecording = [] {
  auto setWriter = reinterpret_cast<SetLogWriter>(dlsym(RTLD_DEFAULT, "g_log_set_writer_func"));
  defaultWriter = reinterpret_cast<LogWriter>(dlsym(RTLD_DEFAULT, "g_log_writer_default"));
  if (!setWriter || !defaultWriter) return false;
  setWriter(RecordAndForward, nullptr, nullptr);
  return true;
}();

std::vector<std::string> Recorded() {
  std::lock_guard<std::mutex> hold(recordedLock);
  return recorded;
}

// The smallest size GTK can draw the widget at, from GTK itself.
wxSize GtkMinimumSize(wxWindow* window) {
  using Preferred = void (*)(void*, int*, int*);
  static const auto width =
      reinterpret_cast<Preferred>(dlsym(RTLD_DEFAULT, "gtk_widget_get_preferred_width"));
  static const auto height =
      reinterpret_cast<Preferred>(dlsym(RTLD_DEFAULT, "gtk_widget_get_preferred_height"));
  wxSize minimum(-1, -1);
  if (!width || !height) return minimum;
  int natural = 0;
  width(window->GetHandle(), &minimum.x, &natural);
  height(window->GetHandle(), &minimum.y, &natural);
  return minimum;
}

using StartMessagesTest = DialogTest;

TEST_F(StartMessagesTest, DialogStartsWithoutToolkitWarnings) {
  if (!kRecording) GTEST_SKIP() << "not a GLib build";
  // The fixture has built, shown and laid out the dialog and drawn it once.
  dialog->Refresh();
  guitest::PumpEvents();
  for (const std::string& message : Recorded()) ADD_FAILURE() << message;
}

// Nothing in the date boxes is given less room than it needs: the year's
// digits and both of its step buttons show whole.
TEST_F(StartMessagesTest, YearBoxesHaveTheRoomTheyNeed) {
  for (wxDateGenericCtrl* date : {access->StartDate(), access->EndDate()}) {
    wxSpinCtrl* year = date->GetYearCtrl();
    const wxSize minimum = GtkMinimumSize(year);
    ASSERT_GT(minimum.x, 0) << "GTK gives no minimum";
    EXPECT_GE(year->GetSize().x, minimum.x) << date->GetName();
    EXPECT_GE(year->GetSize().y, minimum.y) << date->GetName();
    EXPECT_EQ(year->GetPosition(), wxPoint(0, 0)) << date->GetName();
    const wxRect all = date->GetMonthCtrl()->GetRect().Union(date->GetDayCtrl()->GetRect());
    EXPECT_GE(all.x, year->GetRect().GetRight() + 1) << "month and day follow the year";
    EXPECT_LE(all.GetRight(), date->GetClientSize().x - 1) << "the panel holds all three";
  }
}

}  // namespace
