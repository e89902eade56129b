#pragma once
// What the service reads out of a request target and how it writes a request
// into its log: pure text functions, so that every hostile byte a client can
// send is tested without a socket.

#include <optional>
#include <string>
#include <string_view>

// The target's query decoded the way browsers and Qt encode it: %XX is a
// byte, '+' a blank; a '%' that starts no pair of hex digits is kept as it is.
inline std::string PercentDecoded(std::string_view s) {
  const auto hex = [](char c) {
    return c >= '0' && c <= '9'   ? c - '0'
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                  : -1;
  };
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '+') {
      out += ' ';
    } else if (s[i] == '%' && i + 2 < s.size() && hex(s[i + 1]) >= 0 && hex(s[i + 2]) >= 0) {
      out += static_cast<char>(hex(s[i + 1]) * 16 + hex(s[i + 2]));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

// The value of the first `key` in a query ("a=1&ModelId=M-1001"), decoded;
// none when the key is absent. The first one is the one served and logged.
inline std::optional<std::string> QueryValue(std::string_view query, std::string_view key) {
  while (!query.empty()) {
    const std::size_t amp = query.find('&');
    const std::string_view pair = query.substr(0, amp);
    const std::size_t eq = pair.find('=');
    if (PercentDecoded(pair.substr(0, eq)) == key) {
      return eq == std::string_view::npos ? std::string() : PercentDecoded(pair.substr(eq + 1));
    }
    query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
  }
  return std::nullopt;
}

// A client's text as the log shows it: one line per request whatever the
// client sent, and no field that can pass for another. Every byte that is
// not printable ASCII is written as an escape (CR, LF and TAB as \r, \n,
// \t, the others as \xNN): control characters, the space (an id of
// "A 200 2003923" would read as a status and a size), C1 controls and
// every byte of a character beyond ASCII (a line separator, a
// right-to-left override); the backslash too, so that an escape in the
// log is always ours.
inline std::string EscapedForLog(std::string_view s) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(s.size());
  for (const char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c <= 0x20 || c >= 0x7f) {
      out += {'\\', 'x', kHex[c >> 4], kHex[c & 15]};
    } else {
      out += ch;
    }
  }
  return out;
}
