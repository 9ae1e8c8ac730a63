// The one way the command-line programs declare their options: each option
// is declared once, with its help line and what it does, and both the
// parser and --help come from that declaration (CLI11 underneath).
//
// Options take effect in the order they are given, so that of two options
// that contradict each other ("--accel 2 --no-accel", "--clip 50
// --no-clip") the last one counts; an option given twice keeps its last
// value.
#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace barywalk {

class CommandLine {
 public:
  using TextAction = std::function<void(const std::string&)>;
  using FlagAction = std::function<void()>;

  // A program: `name` as it prints in messages, `description` above the
  // options in --help, `footer` below them. Every program has --help and
  // --version.
  CommandLine(std::string name, const std::string& description, const std::string& footer);
  ~CommandLine();
  CommandLine(const CommandLine&) = delete;
  CommandLine& operator=(const CommandLine&) = delete;

  // "-o,--output": an option with one value, named `valueName` in --help.
  CommandLine& Option(const std::string& names, const std::string& valueName,
                      const std::string& help, TextAction apply);
  // An option followed by one or more values ("--flares A.flr B.flr").
  CommandLine& Options(const std::string& names, const std::string& valueName,
                       const std::string& help, TextAction apply);
  CommandLine& Flag(const std::string& names, const std::string& help, FlagAction apply);
  // The arguments that are not options, in order. A positional argument
  // may begin with "-" when it reads as a number ("-5", "-0100-01-01").
  CommandLine& Positionals(const std::string& name, const std::string& help, TextAction apply);

  // A git-style command ("barywalk-flares stats ..."): its own options, its
  // own --help, and `run` for its work.
  CommandLine& Command(const std::string& name, const std::string& summary,
                       const std::string& description, const std::string& footer,
                       std::function<int()> run);
  // The work of a program without commands.
  CommandLine& Run(std::function<int()> run);

  // The text of --help of this program or command.
  std::string Help() const;
  const std::string& Name() const { return m_name; }

  // Parses `args` (without the program name) and applies every option in
  // order. False when --help or --version was asked for instead (nothing is
  // applied then). Throws UsageError with one line for what the parser or
  // an option refuses.
  bool Parse(const std::vector<std::string>& args);

 private:
  CommandLine(CLI::App* app, std::string name);
  void ApplyInOrder();
  CommandLine* Selected();

  std::unique_ptr<CLI::App> m_owned;
  CLI::App* m_app;
  std::string m_name;
  std::map<const CLI::Option*, TextAction> m_actions;
  std::set<const CLI::Option*> m_multi;  // take several values at once
  std::vector<std::unique_ptr<CommandLine>> m_commands;
  std::function<int()> m_run;
  std::string m_shown;  // the help or version text asked for

  friend int RunCli(CommandLine&, const std::vector<std::string>&, std::ostream&, std::ostream&);
};

// Parses `args` and runs the program or the command chosen, the same way
// for every program: --help and --version print to `out` and give 0; bad
// input prints "PROGRAM: message" (one line) to `err` and gives 2; an
// output that cannot be written gives 1 (any other exception); else the
// status the work returns.
int RunCli(CommandLine& cli, const std::vector<std::string>& args, std::ostream& out,
           std::ostream& err);

}  // namespace barywalk
