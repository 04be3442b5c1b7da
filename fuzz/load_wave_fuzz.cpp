// Feeds arbitrary bytes to the wave loader as JSON text. The loader must
// never throw, crash or hang, whatever it is given.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <streambuf>
#include <string>
#include <system_error>

#include "geometry/warehouse.h"
#include "wave/carts_loader.h"

namespace {

// Swallows everything written to it.
class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
};

}  // namespace

// The loader's error line is expected for most inputs; keep it out of the
// fuzzer's log.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static NullBuffer discard;
  std::cerr.rdbuf(&discard);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  // Texts naming an existing file would be read as files (devices among
  // them); the target is the JSON text path.
  std::error_code ec;
  if (std::filesystem::exists(text, ec) || ec) return 0;
  Warehouse warehouse;
  CartsLoader loader(warehouse);
  loader.loadItemsAndSpec(text);
  return 0;
}
