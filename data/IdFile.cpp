#include "IdFile.h"

#include <string>

#include "internal/CharClass.h"

namespace {

// Matches scanf-style literal text: a blank in the pattern matches any run of
// white space (none included), every other character itself.
bool MatchLiteral(std::string_view s, std::size_t& pos, std::string_view pattern) {
  std::size_t p = pos;
  for (char c : pattern) {
    if (c == ' ') {
      while (p < s.size() && IsCSpace(s[p])) {
        ++p;
      }
    } else {
      if (p >= s.size() || s[p] != c) {
        return false;
      }
      ++p;
    }
  }
  pos = p;
  return true;
}

// "%255[^\n]%*c": the rest of the line (at least one character), then one
// more character consumed.
bool ReadRestOfLine(std::string_view s, std::size_t& pos, QString& out) {
  std::size_t p = pos;
  while (p < s.size() && s[p] != '\n' && p - pos < 255) {
    ++p;
  }
  if (p == pos) {
    return false;
  }
  std::string_view value = s.substr(pos, p - pos);
  out = QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
  pos = p < s.size() ? p + 1 : p;
  return true;
}

bool ReadInt(std::string_view s, std::size_t& pos, long long& out) {
  std::size_t p = pos;
  while (p < s.size() && IsCSpace(s[p])) {
    ++p;
  }
  bool neg = false;
  if (p < s.size() && (s[p] == '+' || s[p] == '-')) {
    neg = s[p++] == '-';
  }
  std::size_t digits = p;
  long long v = 0;
  while (p < s.size() && s[p] >= '0' && s[p] <= '9') {
    if (v < 1000000000000LL) {
      v = v * 10 + (s[p] - '0');
    }
    ++p;
  }
  // A count beyond the range of int is no count (it would wrap into another).
  if (p == digits || v > (neg ? 2147483648LL : 2147483647LL)) {
    return false;
  }
  out = neg ? -v : v;
  pos = p;
  return true;
}

}  // namespace

IdFileContent ParseIdFile(std::string_view raw) {
  std::string text;
  text.reserve(raw.size());
  // Text mode: CR LF reads as LF, and a lone CR (old editors) ends a line too.
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] != '\r') {
      text.push_back(raw[i]);
    } else if (i + 1 >= raw.size() || raw[i + 1] != '\n') {
      text.push_back('\n');
    }
  }
  std::string_view s(text);

  IdFileContent result;
  std::size_t pos = 0;
  while (pos < s.size()) {
    QString id;
    if (!MatchLiteral(s, pos, "model id:") || !ReadRestOfLine(s, pos, id)) {
      break;
    }
    result.modelId = id;
    result.hasModelId = true;
    long long n = 0;
    if (!MatchLiteral(s, pos, "the garment list:") || !ReadInt(s, pos, n)) {
      break;
    }
    while (pos < s.size() && IsCSpace(s[pos])) {
      ++pos;
    }
    bool ok = true;
    for (long long i = 0; i < n && ok; ++i) {
      QString garment;
      ok = MatchLiteral(s, pos, "garment id:") && ReadRestOfLine(s, pos, garment);
      if (ok) {
        result.garmentIds.push_back(garment);
      }
    }
    if (!ok) {
      break;
    }
  }
  return result;
}
