// SPDX-License-Identifier: GPL-3.0-or-later
// Failures of reading a journal text. A retrieval catches JournalError and reports the
// journal as unreadable; everything filed before the failure stays in the journal.
#pragma once

#include <stdexcept>
#include <string>

namespace journal {

class JournalError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A value that should be a number is not one (or does not fit where it goes).
class ConversionError : public JournalError {
 public:
  using JournalError::JournalError;
};

// The journal text is not well-formed XML or its encoding cannot be read.
class ParseError : public JournalError {
 public:
  using JournalError::JournalError;
};

}  // namespace journal
