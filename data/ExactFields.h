#pragma once
// The fields of a line the parser accepted, again, at full precision: each
// float field as the double nearest the decimal the file wrote. The float
// parser decides what a field is (a number, or none); this only reads the
// digits of those it took once more, so a value here stands for exactly the
// one the store holds as a float.

#include <cstdint>
#include <vector>

#include "ScanLine.h"

// Appends `format.count` values for the line [begin, end) that the float
// parser read as `scan`: a field it marked as no number, or one the line
// lacks, is NaN; an int field is its whole number.
void AppendExactFields(const char* begin, const char* end, const ScanSpec& format, const ScanResult& scan,
                       std::vector<double>& out);

// The shortest text that reads back to the same double ("33.235381",
// "1e-07", "0.1"); empty for NaN, a value nobody wrote.
std::size_t ShortestDouble(double v, char* buf, std::size_t size);
