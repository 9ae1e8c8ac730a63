#include "cli_app.h"

#include <CLI/CLI.hpp>

#include <cctype>
#include <exception>
#include <ostream>
#include <sstream>
#include <algorithm>

#include "common/version.h"
#include "cli_args.h"

namespace barywalk {
namespace {

constexpr std::size_t kManyValues = CLI::detail::expected_max_vector_size;
constexpr std::size_t kHelpColumn = 24;
constexpr std::size_t kHelpWidth = 79;

std::string WrapWords(const std::string& text, std::size_t width) {
  std::istringstream words(text);
  std::string wrapped, line, word;
  while (words >> word) {
    if (!line.empty() && line.size() + 1 + word.size() > width) {
      wrapped += line + '\n';
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
  }
  return wrapped + line;
}

// Only the lines too long for the width are wrapped: lists keep their layout.
std::string WrapLongLines(const std::string& text) {
  std::istringstream lines(text);
  std::string wrapped;
  for (std::string line; std::getline(lines, line);) {
    wrapped += (line.size() > kHelpWidth ? WrapWords(line, kHelpWidth) : line) + '\n';
  }
  return wrapped;
}

// "-5", "-.5", "-0100-01-01": a negative number or an early year, not an option.
bool ReadsAsNumber(const std::string& arg) {
  return arg.size() > 1 && arg[0] == '-' &&
         (std::isdigit(static_cast<unsigned char>(arg[1])) || arg[1] == '.');
}

// The parser takes every "-..." for an option. Positional arguments that
// read as numbers are moved, with all other positional arguments in their
// order, behind a "--", so that they stay positional.
std::vector<std::string> NumbersKeptPositional(const CLI::App& app,
                                               const std::vector<std::string>& args) {
  std::vector<std::string> options, positionals;
  bool anyNumber = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") {
      positionals.insert(positionals.end(), args.begin() + i + 1, args.end());
      break;
    }
    if (arg.size() < 2 || arg[0] != '-' || ReadsAsNumber(arg)) {
      anyNumber = anyNumber || ReadsAsNumber(arg);
      positionals.push_back(arg);
      continue;
    }
    options.push_back(arg);
    const CLI::Option* option = app.get_option_no_throw(arg);
    if (option != nullptr && option->get_type_size_max() > 0 && i + 1 < args.size()) {
      options.push_back(args[++i]);
    }
  }
  if (!anyNumber) return args;
  options.push_back("--");
  options.insert(options.end(), positionals.begin(), positionals.end());
  return options;
}

// One line for what the parser refused, in the programs' own words.
std::string ParseErrorText(const CLI::ParseError& error, const CLI::App& app) {
  if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
    const std::vector<std::string> extras = app.remaining(true);
    const std::string first = extras.empty() ? "" : extras.front();
    if (first.size() > 1 && first[0] == '-') return "unknown option " + Quoted(first) + " (see --help)";
    if (!app.get_subcommands({}).empty() && app.get_subcommands().empty()) {
      return Quoted(first) + " is not a command; see '" + app.get_name() + " --help'";
    }
    return "unexpected argument " + Quoted(first) + " (see --help)";
  }
  const std::string text = error.what();
  const std::size_t missing = text.find(" required ");
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr && missing != std::string::npos &&
      text.find(':') != std::string::npos) {
    return text.substr(0, text.find(':')) + " needs a value";
  }
  return text;
}

// CLI11's help layout, with a command's summary (the first line of its
// description) in its program's list of commands.
class HelpFormatter : public CLI::Formatter {
 public:
  HelpFormatter() { column_width(kHelpColumn); }
  std::string make_subcommand(const CLI::App* sub) const override {
    const std::string& description = sub->get_description();
    std::ostringstream out;
    CLI::detail::format_help(out, sub->get_name(), description.substr(0, description.find('\n')),
                             column_width_);
    return out.str();
  }
  // Option descriptions wrapped at word boundaries to the terminal's usual width.
  std::string make_option_desc(const CLI::Option* option) const override {
    return WrapWords(CLI::Formatter::make_option_desc(option), kHelpWidth - column_width_);
  }
  std::string make_description(const CLI::App* app) const override {
    return WrapLongLines(CLI::Formatter::make_description(app));
  }
  std::string make_footer(const CLI::App* app) const override {
    return WrapLongLines(CLI::Formatter::make_footer(app));
  }
  // A description that shows the usage itself (several forms) replaces the line.
  std::string make_usage(const CLI::App* app, std::string name) const override {
    if (app->get_description().rfind("Usage:", 0) == 0) return "";
    return CLI::Formatter::make_usage(app, name);
  }
};

}  // namespace

CommandLine::CommandLine(std::string name, const std::string& description,
                         const std::string& footer)
    : m_owned(std::make_unique<CLI::App>(description, name)), m_app(m_owned.get()),
      m_name(std::move(name)) {
  m_app->footer(footer);
  m_app->set_help_flag("-h,--help", "show this help and exit");
  m_app->set_version_flag("--version", m_name + " " + kBarywalkVersion, "show the version and exit");
  m_app->formatter(std::make_shared<HelpFormatter>());
}

CommandLine::CommandLine(CLI::App* app, std::string name) : m_app(app), m_name(std::move(name)) {}

CommandLine::~CommandLine() = default;

CommandLine& CommandLine::Option(const std::string& names, const std::string& valueName,
                                 const std::string& help, TextAction apply) {
  CLI::Option* option = m_app->add_option(names, help)
                            ->type_size(1)
                            ->type_name(valueName)
                            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  m_actions[option] = std::move(apply);
  return *this;
}

CommandLine& CommandLine::Options(const std::string& names, const std::string& valueName,
                                  const std::string& help, TextAction apply) {
  CLI::Option* option = m_app->add_option(names, help)
                            ->type_size(1)
                            ->expected(1, kManyValues)
                            ->allow_extra_args()
                            ->type_name(valueName)
                            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  m_actions[option] = std::move(apply);
  m_multi.insert(option);
  return *this;
}

CommandLine& CommandLine::Flag(const std::string& names, const std::string& help,
                               FlagAction apply) {
  CLI::Option* option =
      m_app->add_flag(names, help)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  const std::string name = option->get_name();
  m_actions[option] = [name, apply = std::move(apply)](const std::string& value) {
    // "--log=yes" is a mistake, not a way to say --log.
    if (value != "true") throw UsageError(name + " takes no value");
    apply();
  };
  return *this;
}

CommandLine& CommandLine::Positionals(const std::string& name, const std::string& help,
                                      TextAction apply) {
  CLI::Option* option = m_app->add_option(name, help)
                            ->type_size(1)
                            ->expected(1, kManyValues)
                            ->allow_extra_args();
  m_actions[option] = std::move(apply);
  m_multi.insert(option);
  return *this;
}

CommandLine& CommandLine::Command(const std::string& name, const std::string& summary,
                                  const std::string& description, const std::string& footer,
                                  std::function<int()> run) {
  // The list of commands shows the summary, the command's help all of it.
  CLI::App* sub = m_app->add_subcommand(name, summary + "\n\n" + description);
  sub->footer(footer);
  sub->set_help_flag("-h,--help", "show this help and exit");
  m_app->require_subcommand(0, 1);
  m_commands.push_back(std::unique_ptr<CommandLine>(new CommandLine(sub, m_name + " " + name)));
  m_commands.back()->m_run = std::move(run);
  return *m_commands.back();
}

CommandLine& CommandLine::Run(std::function<int()> run) {
  m_run = std::move(run);
  return *this;
}

std::string CommandLine::Help() const { return m_app->help(); }

bool CommandLine::Parse(const std::vector<std::string>& args) {
  std::vector<std::string> reversed =
      m_commands.empty() ? NumbersKeptPositional(*m_app, args) : args;
  std::reverse(reversed.begin(), reversed.end());  // the parser takes them from the back
  try {
    m_app->parse(reversed);
  } catch (const CLI::CallForVersion& version) {
    m_shown = std::string(version.what()) + "\n";
    return false;
  } catch (const CLI::Success&) {
    m_shown = m_app->help();
    return false;
  } catch (const CLI::ParseError& error) {
    throw UsageError(ParseErrorText(error, *Selected()->m_app));
  }
  ApplyInOrder();
  for (auto& command : m_commands) {
    if (command->m_app->parsed()) command->ApplyInOrder();
  }
  return true;
}

void CommandLine::ApplyInOrder() {
  std::map<const CLI::Option*, std::size_t> occurrence;
  for (const CLI::Option* option : m_app->parse_order()) {
    const auto action = m_actions.find(option);
    if (action == m_actions.end()) continue;
    const std::size_t index = occurrence[option]++;
    const std::vector<std::string>& values = option->results();
    if (m_multi.count(option) > 0) {
      if (index == 0) {
        for (const std::string& value : values) action->second(value);
      }
    } else if (index < values.size()) {
      action->second(values[index]);
    }
  }
}

CommandLine* CommandLine::Selected() {
  for (auto& command : m_commands) {
    if (command->m_app->parsed()) return command.get();
  }
  return this;
}

int RunCli(CommandLine& cli, const std::vector<std::string>& args, std::ostream& out,
           std::ostream& err) {
  try {
    if (!cli.Parse(args)) {
      out << cli.m_shown;
      return kExitOk;
    }
    CommandLine* chosen = cli.Selected();
    if (!chosen->m_run) {  // a program of commands, given none
      err << cli.Help();
      return kExitBadArguments;
    }
    return chosen->m_run();
  } catch (const UsageError& error) {
    err << cli.Selected()->Name() << ": " << error.what() << '\n';
    return kExitBadArguments;
  } catch (const std::exception& error) {
    err << cli.Selected()->Name() << ": " << error.what() << '\n';
    return kExitOutputFailed;
  }
}

}  // namespace barywalk
