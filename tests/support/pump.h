#pragma once
// Message pumping with a deadline: tests wait for a condition, never for a
// fixed time, and keep this thread's windows answering meanwhile.
#include <windows.h>

#include <functional>

namespace testing_support {

// Pumps this thread's messages until done() or the deadline; true if done.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
// Runs at every turn of PumpUntil (a debugger draining its events).
void SetPumpHook(std::function<void()> hook);
void PumpFor(DWORD ms);

}  // namespace testing_support
