#include "cli_options.h"

#include <sstream>

#include "cli_args.h"

namespace barywalk {
namespace {

std::string FormatNumber(double value) {
  std::ostringstream text;
  text << value;
  return text.str();
}

}  // namespace

double NumberInRange(const std::string& option, const std::string& text, double min, double max) {
  double value = 0;
  if (!ParseNumber(text, value)) throw UsageError(option + ": " + Quoted(text) + " is not a number");
  if (!(value >= min && value <= max)) {
    throw UsageError(option + ": " + Quoted(text) + " is outside " + FormatNumber(min) + " to " +
                     FormatNumber(max));
  }
  return value;
}

long long WholeNumberInRange(const std::string& option, const std::string& text, long long min,
                             long long max) {
  long long value = 0;
  if (!ParseWholeNumber(text, value)) {
    throw UsageError(option + ": " + Quoted(text) + " is not a whole number");
  }
  if (value < min || value > max) {
    throw UsageError(option + ": " + Quoted(text) + " is outside " + std::to_string(min) + " to " +
                     std::to_string(max));
  }
  return value;
}

}  // namespace barywalk
