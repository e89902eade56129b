#pragma once
// Our long-lived workers carry names beginning with "corvane-" (at most 15
// characters in all), so that a debugger, top -H or a test can tell them
// from the threads of Qt and of the GL driver.

#include <pthread.h>

inline void NameThisThread(const char* name) { pthread_setname_np(pthread_self(), name); }
