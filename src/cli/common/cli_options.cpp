#include "cli_options.h"

#include <sstream>
#include <utility>

#include "cli_args.h"

namespace barywalk {
namespace {

std::string FormatNumber(double value) {
  std::ostringstream text;
  text << value;
  return text.str();
}

}  // namespace

ArgumentReader::ArgumentReader(std::vector<std::string> args) : m_args(std::move(args)) {}

bool ArgumentReader::Next() {
  if (m_next >= m_args.size()) return false;
  std::string arg = m_args[m_next++];
  m_hasInlineValue = false;
  m_inlineValue.clear();
  if (!m_optionsEnded && arg == "--") {
    m_optionsEnded = true;
    return Next();
  }
  m_isOption = !m_optionsEnded && arg.size() > 1 && arg[0] == '-';
  if (m_isOption) {
    const std::size_t equals = arg.find('=');
    if (equals != std::string::npos && arg.compare(0, 2, "--") == 0) {
      m_inlineValue = arg.substr(equals + 1);
      m_hasInlineValue = true;
      arg.erase(equals);
    }
    if (!m_seen.insert(arg).second) throw UsageError(arg + " given more than once");
  }
  m_name = std::move(arg);
  return true;
}

std::string ArgumentReader::Value() {
  if (m_hasInlineValue) return m_inlineValue;
  if (m_next >= m_args.size()) throw UsageError(m_name + " needs a value");
  return m_args[m_next++];
}

void ArgumentReader::NoValue() const {
  if (m_hasInlineValue) throw UsageError(m_name + " takes no value");
}

void ArgumentReader::Unknown() const {
  throw UsageError("unknown option " + Quoted(m_name) + " (see --help)");
}

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
