#include "GermanLocale.h"

#include <clocale>
#include <cstring>

CGermanLocale::CGermanLocale() {
  const char* old = std::setlocale(LC_ALL, nullptr);
  std::strncpy(m_saved, old ? old : "C", sizeof m_saved - 1);
  if (!std::setlocale(LC_ALL, kGermanLocale)) {
    return;
  }
  const lconv* conv = std::localeconv();
  m_bActive = conv && conv->decimal_point && std::strcmp(conv->decimal_point, ",") == 0;
}

CGermanLocale::~CGermanLocale() { std::setlocale(LC_ALL, m_saved); }

bool GermanLocaleLoads() { return CGermanLocale().Active(); }
