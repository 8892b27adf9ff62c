// The decoder's outcome with the messages it showed (a message box without a display
// is a line on stderr).
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "content/lesson_loader.h"
#include "lesson_fixtures.h"

constexpr char DecodeMessage[] = "UnCompress() buffer error!";

inline int CountOf(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

struct DecodeOutcome {
  Bytes Output;      // the decoded bytes and the two after them; empty on failure
  bool Decoded;
  int Reason;        // 0 when none was written
  DWORD Length;      // the decoded length reported
  int Messages;      // decoder messages shown
};

// Decodes the first size bytes of the record (all of it by default) from a copy of
// exactly that size, so that a read beyond it is a read beyond a heap block.
inline DecodeOutcome Decode(const Bytes& record, size_t size = size_t(-1)) {
  if (size == size_t(-1)) size = record.size();
  const Bytes exact(record.begin(), record.begin() + size);
  LoadReason reason = LoadReason(0);
  DWORD length = 0;
  testing::internal::CaptureStderr();
  BYTE* buffer = DecodeRecord(exact.data(), DWORD(size), &reason, &length);
  const std::string shown = testing::internal::GetCapturedStderr();
  DecodeOutcome outcome{{}, buffer != nullptr, reason, length, CountOf(shown, DecodeMessage)};
  if (buffer != nullptr) {
    outcome.Output.assign(buffer, buffer + length + 2);
    free(buffer);
  }
  return outcome;
}
