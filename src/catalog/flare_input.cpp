#include "catalog/flare_input.h"

#include <optional>

#include "catalog/catalog_import.h"

namespace barywalk {
namespace {

// `text` as one word of a POSIX shell: unchanged when it holds only safe
// characters, else in single quotes.
std::string ShellWord(const std::string& text) {
  const bool safe = !text.empty() && text.find_first_not_of(
                                         "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                         "0123456789_-+./,:@%=") == std::string::npos;
  if (safe) return text;
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string FlareFileNameFor(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  const std::string stem = hasExtension ? path.substr(0, dot) : path;
  const bool isFlr = hasExtension && path.substr(dot) == ".flr";
  return stem + (isFlr ? "-imported.flr" : ".flr");
}

}  // namespace

FlareReadOptions FlareFileReadOptions(FlareColumns columns) {
  FlareReadOptions options;
  options.columns = columns;
  options.headerCheck = [](std::string_view firstLine) -> std::string {
    const std::optional<CatalogFormat> format = RecogniseCatalog(firstLine);
    return format ? CatalogFormatDescription(*format) : "";
  };
  return options;
}

std::string ImportCommandFor(const std::string& path) {
  return "barywalk-flares import " + ShellWord(path) + " -o " + ShellWord(FlareFileNameFor(path));
}

std::string OtherFormatMessage(const std::string& path, const FlareStreamResult& result) {
  return path + " is " + result.otherFormat + ", not a flare file; convert it first: " +
         ImportCommandFor(path);
}

}  // namespace barywalk
