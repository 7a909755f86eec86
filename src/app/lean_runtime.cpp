// Two error paths of the GNU C++ library, made small. The defaults drag in
// far more than a tray utility of a few hundred kilobytes can carry: the
// terminate handler a whole demangler, and the library's internal throws
// (of length_error and the like) a second, copy-on-write string library to
// build their messages. Postlark has no console to print either to, and
// only catches exceptions as a whole, at its window procedures, so a plain
// exception without a message serves as well.
#if defined(__GNUC__) && !defined(__clang__)
#include <cstdlib>
#include <exception>
#include <new>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {
namespace {
struct LibraryError : exception {};
}  // namespace

void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_alloc(); }
void __throw_bad_cast() { throw LibraryError(); }
void __throw_bad_typeid() { throw LibraryError(); }
void __throw_bad_function_call() { throw LibraryError(); }
void __throw_logic_error(const char*) { throw LibraryError(); }
void __throw_domain_error(const char*) { throw LibraryError(); }
void __throw_invalid_argument(const char*) { throw LibraryError(); }
void __throw_length_error(const char*) { throw LibraryError(); }
void __throw_out_of_range(const char*) { throw LibraryError(); }
void __throw_out_of_range_fmt(const char*, ...) { throw LibraryError(); }
void __throw_runtime_error(const char*) { throw LibraryError(); }
void __throw_range_error(const char*) { throw LibraryError(); }
void __throw_overflow_error(const char*) { throw LibraryError(); }
void __throw_underflow_error(const char*) { throw LibraryError(); }
}  // namespace std
#endif
