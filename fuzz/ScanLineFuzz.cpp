// Differential fuzzing of the fast line parser against its plainly written
// reference: any difference in fields, verdicts or the bits of a value read
// is a crash.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "ScanLine.h"

// Lines of any length libFuzzer makes: the parser is not bounded by the
// 255-character line of the data files, which its callers enforce.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const ScanSpec* const formats[] = {&FormatOf(DataFormat::Environment), &FormatOf(DataFormat::Fabric),
                                     &FormatOf(DataFormat::FabricPlain), &FormatOf(DataFormat::Fiber),
                                     &FormatOf(DataFormat::Body),        &FormatOf(DataFormat::Comfort)};
  const char* b = reinterpret_cast<const char*>(data);
  for (const ScanSpec* format : formats) {
    std::uint32_t fast[kMaxConversions] = {}, ref[kMaxConversions] = {};
    void* fo[kMaxConversions];
    void* ro[kMaxConversions];
    for (int i = 0; i < kMaxConversions; ++i) {
      fo[i] = &fast[i];
      ro[i] = &ref[i];
    }
    const ScanResult a = ScanLine(b, b + size, *format, fo);
    const ScanResult r = ScanLineReference(b, b + size, *format, ro);
    if (a.fields != r.fields || a.bad != r.bad) {
      std::abort();
    }
    for (int i = 0; i < r.fields; ++i) {
      if (((r.bad >> i) & 1u) == 0 && fast[i] != ref[i]) {
        std::abort();
      }
    }
  }
  return 0;
}
