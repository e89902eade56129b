#pragma once
// A German locale (decimal comma) for tests that prove numbers read the same
// whatever the user's locale. scripts/install-deps.sh generates it.

inline constexpr const char* kGermanLocale = "de_DE.UTF-8";

// True when the German locale loads and really has a decimal comma. The
// process's locale is left as it was.
bool GermanLocaleLoads();

// Switches the process to the German locale for its lifetime and back after.
class CGermanLocale {
 public:
  CGermanLocale();
  ~CGermanLocale();
  CGermanLocale(const CGermanLocale&) = delete;
  CGermanLocale& operator=(const CGermanLocale&) = delete;
  bool Active() const { return m_bActive; }

 private:
  char m_saved[256] = {};
  bool m_bActive = false;
};

// The message for a test that finds no German locale.
inline constexpr const char* kNoGermanLocale =
    "the de_DE.UTF-8 locale does not load: run scripts/install-deps.sh, which generates it";
