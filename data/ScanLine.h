#pragma once
// The parser of the data files' line formats: a sequence of float and int
// fields separated by white space (the files write a tab, and a trailing
// tab). A field is read strictly: a float is a decimal number ("-1.5",
// "2.5e-03", "1.", ".5") that ends at white space or at the line's end and
// lies within a float's range (an underflow reads as 0); an int is a whole
// number within an int's range. Anything else ("inf", "nan", "0x1p3", "1e",
// "30.6O49", "1e39") is no number: the field is marked, a float field holds
// NaN, and the fields after it are still read.

#include <cstddef>
#include <cstdint>

enum class Conv : unsigned char { Float, Int };

constexpr int kMaxConversions = 16;

// What one line gave.
struct ScanResult {
  int fields = 0;         // fields the line holds, up to the format's count
  std::uint32_t bad = 0;  // bit i: field i holds no number that can be read
};

// A parser made for one format (internal/LineFormats.h).
using ScanFn = ScanResult (*)(const char* begin, const char* end, void* const* outs);

// The same with each field's value at full precision (ExactFields.h) in
// exact[0, count): NaN for a field that holds no number or that the line lacks.
using ScanExactFn = ScanResult (*)(const char* begin, const char* end, void* const* outs, double* exact);

struct ScanSpec {
  const char* name{};                // the fields, as a scanf format would write them
  const Conv* convs{};               // conversion kinds, in order
  int count{};                       // number of conversions
  ScanFn fixed = nullptr;            // the format's own parser, when it has one
  ScanExactFn fixedExact = nullptr;  // and the same giving the doubles too
};

// Parses [begin, end) (a NUL inside ends the line). outs[i] points to a float
// or an int according to convs[i]; a field that is no number leaves a float
// NaN and an int as it was.
ScanResult ScanLine(const char* begin, const char* end, const ScanSpec& format, void* const* outs);
// ScanLine, each field's value at full precision landing in exact[0, count)
// from the same reading of its digits (NaN as ScanExactFn says).
ScanResult ScanLineExact(const char* begin, const char* end, const ScanSpec& format, void* const* outs, double* exact);

// The data files' line formats, each with its own parser, for the tests and
// fuzzing of these parsers; the loader uses them directly.
enum class DataFormat { Environment, Fabric, FabricPlain, Fiber, Body, Comfort };
const ScanSpec& FormatOf(DataFormat format);

// The same rules, written plainly (a grammar, strtof and strtoll in the C
// locale) rather than fast: the reference for tests and fuzzing.
ScanResult ScanLineReference(const char* begin, const char* end, const ScanSpec& format, void* const* outs);

// The text of field `index` (from 0) of a line, for messages; empty when the
// line has no such field.
const char* FieldText(const char* begin, const char* end, int index, std::size_t* length);
