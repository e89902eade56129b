#include "GlDriverPin.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CORVANE_LEAK_CHECKED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define CORVANE_LEAK_CHECKED 1
#endif

#ifdef CORVANE_LEAK_CHECKED
#include <dlfcn.h>
#include <link.h>

#include <cstring>

void PinGlDriversForLeakCheck() {
  dl_iterate_phdr(
      [](dl_phdr_info* info, std::size_t, void*) {
        if (info->dlpi_name && std::strstr(info->dlpi_name, "/dri/")) {
          dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
        }
        return 0;
      },
      nullptr);
}
#else
void PinGlDriversForLeakCheck() {}
#endif
