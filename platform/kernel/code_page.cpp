// MultiByteToWideChar and WideCharToMultiByte for UTF-8, on the kernel's UTF codec.
#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <string_view>

#include "kernel/utf.h"
#include "platform.h"
#include "kernel/out_of_memory.h"

namespace {

int Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

// The input as a view: count units, or up to and with the terminator for -1.
template <typename Unit>
std::basic_string_view<Unit> Input(const Unit* text, int count) {
  if (count != -1) return {text, size_t(count)};
  return {text, std::basic_string_view<Unit>(text).size() + 1};
}

bool IsWellFormedUtf8(std::string_view text) {
  bool malformed = false;
  for (size_t pos = 0; pos < text.size() && !malformed;)
    kernel::DecodeUtf8At(text, pos, &malformed);
  return !malformed;
}

// Copies the converted text into the caller's output, or tells the count it needs.
template <typename Unit>
int Deliver(const std::basic_string<Unit>& converted, Unit* out, int outCount) {
  if (converted.size() > size_t(INT_MAX)) return Fail(ERROR_INSUFFICIENT_BUFFER);
  const int count = int(converted.size());
  if (outCount == 0) return count;
  if (count > outCount) return Fail(ERROR_INSUFFICIENT_BUFFER);
  std::copy(converted.begin(), converted.end(), out);
  return count;
}

// The checks both directions share; 0 when the call may go on.
template <typename In, typename Out>
DWORD ArgumentError(UINT codePage, const In* in, int inCount, const Out* out, int outCount) {
  if (codePage != CP_UTF8 || in == nullptr || inCount == 0 || inCount < -1 || outCount < 0 ||
      (outCount > 0 && out == nullptr))
    return ERROR_INVALID_PARAMETER;
  return 0;
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteCount,
                        LPWSTR wide, int wideCount) try {
  if (DWORD error = ArgumentError(codePage, multiByte, multiByteCount, wide, wideCount))
    return Fail(error);
  if (flags & ~DWORD(MB_ERR_INVALID_CHARS)) return Fail(ERROR_INVALID_FLAGS);
  const std::string_view text = Input(multiByte, multiByteCount);
  if ((flags & MB_ERR_INVALID_CHARS) && !IsWellFormedUtf8(text))
    return Fail(ERROR_NO_UNICODE_TRANSLATION);
  return Deliver(kernel::Utf8ToUtf16(text), wide, wideCount);
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount,
                        LPSTR multiByte, int multiByteCount, LPCSTR defaultChar,
                        BOOL* usedDefaultChar) try {
  if (DWORD error = ArgumentError(codePage, wide, wideCount, multiByte, multiByteCount))
    return Fail(error);
  if (defaultChar != nullptr || usedDefaultChar != nullptr) return Fail(ERROR_INVALID_PARAMETER);
  if (flags & ~DWORD(WC_ERR_INVALID_CHARS)) return Fail(ERROR_INVALID_FLAGS);
  const std::u16string_view text = Input(wide, wideCount);
  if ((flags & WC_ERR_INVALID_CHARS) && !kernel::IsWellFormedUtf16(text))
    return Fail(ERROR_NO_UNICODE_TRANSLATION);
  return Deliver(kernel::Utf16ToUtf8(text), multiByte, multiByteCount);
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}
