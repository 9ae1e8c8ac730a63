// Reading a command's arguments: options "--name VALUE", "--name=VALUE"
// and flags "--name", mixed with positional arguments; "--" ends the
// options. Every problem is thrown as UsageError with one line naming the
// argument.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace barywalk {

class ArgumentReader {
 public:
  explicit ArgumentReader(std::vector<std::string> args);

  // Moves to the next argument; false when there is none left. An option
  // given a second time is a UsageError ("--x given more than once").
  bool Next();
  // Whether the current argument is an option ("-o", "--step"; not "-",
  // which names standard input or output, and nothing after "--").
  bool IsOption() const { return m_isOption; }
  // The option's name without "=VALUE", or the positional argument.
  const std::string& Current() const { return m_name; }
  // The option's value: the text after "=", or else the next argument.
  std::string Value();
  // For a flag: a UsageError when "=VALUE" was given.
  void NoValue() const;
  // A UsageError "unknown option NAME".
  [[noreturn]] void Unknown() const;

 private:
  std::vector<std::string> m_args;
  std::size_t m_next = 0;
  bool m_optionsEnded = false;
  bool m_isOption = false;
  bool m_hasInlineValue = false;
  std::string m_name;
  std::string m_inlineValue;
  std::set<std::string> m_seen;
};

// A number option's value within [min, max]; otherwise a UsageError naming
// the option, the text and the range.
double NumberInRange(const std::string& option, const std::string& text, double min, double max);
// A whole-number option's value within [min, max].
long long WholeNumberInRange(const std::string& option, const std::string& text, long long min,
                             long long max);

}  // namespace barywalk
