#pragma once
// One object for the process, made by whichever thread first asks for it:
// Postlark's own statics are not guarded (see app/lean_runtime.cpp), and
// these are first reached from more than one thread.
#include <windows.h>

namespace base {

template <class T>
BOOL CALLBACK MakeOnce(PINIT_ONCE, PVOID made, PVOID*) {
  *static_cast<const T**>(made) = new T;
  return TRUE;
}

template <class T>
const T& Once() {
  static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
  static const T* made = nullptr;
  InitOnceExecuteOnce(&once, MakeOnce<T>, &made, nullptr);
  return *made;
}

}  // namespace base
