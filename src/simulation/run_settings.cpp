#include "simulation/run_settings.h"

#include <cstdio>

namespace barywalk {

std::string IsoDate(const CalendarDate& date) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
  return text;
}

std::string SettingNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.10g", value);
  return text;
}

std::string SettingLow(const NumberSetting& setting) {
  return setting.low > 0 && setting.low < 1 ? "1/" + SettingNumber(1 / setting.low)
                                            : SettingNumber(setting.low);
}

}  // namespace barywalk
