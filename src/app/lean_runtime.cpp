// The standard library's default terminate handler prints a demangled type
// name, which drags its whole demangler into the executable. Postlark has no
// console to print to, so ending at once is all it needs.
#if defined(__GNUC__) && !defined(__clang__)
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif
