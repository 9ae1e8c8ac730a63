// The committed catalog excerpts (tests/data/catalog) for the catalog and
// command-line tests. CATALOG_TEST_DATA_DIR is set by the build.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace barywalk {

inline std::string CatalogDataPath(const std::string& name) {
  return std::string(CATALOG_TEST_DATA_DIR) + "/" + name;
}

// A file's bytes, unchanged; empty when it cannot be read.
inline std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace barywalk
