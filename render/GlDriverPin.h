#pragma once
// For leak-checked builds: Mesa's driver is unloaded at exit, before
// LeakSanitizer looks, so the small allocations it keeps for the whole
// process would be reported from a module without a name, which no
// suppression can name. Called as the program ends, this keeps every loaded
// driver module in memory, so those allocations stay reachable. Does nothing
// in builds without AddressSanitizer.
void PinGlDriversForLeakCheck();
