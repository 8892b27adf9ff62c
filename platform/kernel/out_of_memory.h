// Running out of memory inside the platform. The platform's C++ allocations (new, the
// standard containers and strings) go through the platform heap as malloc does and
// throw std::bad_alloc where malloc would return null. Every public call of the
// platform that can allocate catches it at its entry, in a function-try-block:
//
//   HWND CreateWindowExW(...) try {
//     ...
//   } catch (const std::bad_alloc&) {
//     return kernel::OutOfMemory<HWND>(nullptr);
//   }
//
// and reports it as it reports any failure: its failure result, with
// ERROR_NOT_ENOUGH_MEMORY as the last error. So no exception ever reaches the
// program's code, whose procedures the platform calls as functions that do not throw
// (a procedure that let one through would end the process at once).
#pragma once

#include <new>

#include "platform/kernel.h"

namespace kernel {

template <typename Result>
Result OutOfMemory(Result failure) {
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return failure;
}

inline void OutOfMemory() { SetLastError(ERROR_NOT_ENOUGH_MEMORY); }

}  // namespace kernel
