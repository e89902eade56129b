#pragma once
// White space as the C locale's isspace sees it, without the locale.

inline bool IsCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
