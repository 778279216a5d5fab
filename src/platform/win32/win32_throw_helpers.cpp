// The library's internal error raisers, defined here so that the library's own versions, which
// build the standard exceptions around a second, reference-counted string implementation, stay
// out of the program. The errors are the same kind to a catch of std::exception.
#include <bits/functexcept.h>

#include <new>
#include <typeinfo>

#include "platform/setup_error.h"

namespace std {

void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_logic_error(const char* what) { throw ESetupError(what); }
void __throw_domain_error(const char* what) { throw ESetupError(what); }
void __throw_invalid_argument(const char* what) { throw ESetupError(what); }
void __throw_length_error(const char* what) { throw ESetupError(what); }
void __throw_out_of_range(const char* what) { throw ESetupError(what); }
// The format's arguments are left out: the text still says which operation failed.
void __throw_out_of_range_fmt(const char* what, ...) { throw ESetupError(what); }
void __throw_runtime_error(const char* what) { throw ESetupError(what); }
void __throw_range_error(const char* what) { throw ESetupError(what); }
void __throw_overflow_error(const char* what) { throw ESetupError(what); }
void __throw_underflow_error(const char* what) { throw ESetupError(what); }

}  // namespace std
