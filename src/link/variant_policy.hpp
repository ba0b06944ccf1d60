// SPDX-License-Identifier: GPL-3.0-or-later
// What tells the two protocol variants apart. The frame, the receiver and the driver are
// one mechanism each; everything that differs between the variants is in this table.
#pragma once

#include <cstdint>
#include <string_view>

namespace device_link {

struct VariantPolicy {
  std::string_view name;

  // Reply frame: LEN = length_base + number of data bytes; the Quendar reply carries a
  // four-character error code and ";" in front of its data.
  std::uint8_t reply_length_base;
  bool reply_has_error_code;

  // Receiver: whether a handled terminator stops the reading at once, or the reading
  // goes on until one read stays empty.
  bool frame_end_stops_reading;

  // Request data: the separator after (Quendar) or between (Datecs) the fields, and
  // whether the register password leads the fields.
  char data_separator;
  bool data_fields_terminated;
  bool sends_password;

  // Reply fields: the separator, and whether a trailing separator is dropped rather than
  // giving an empty last field.
  char field_separator;
  bool drops_trailing_separator;

  // execute_command repeats a request whose raw reply is not a well-formed reply frame;
  // the other variant sends every request exactly once.
  bool repeats_malformed_replies;

  // The result record carries the request frame.
  bool keeps_sent_frame;

  // Opening and closing the port.
  bool locks_receive_routine;
  bool purges_after_open;
  bool flushes_before_close;

  std::string_view (*command_name)(int code);
};

extern const VariantPolicy kQuendarPolicy;
extern const VariantPolicy kDatecsPolicy;

}  // namespace device_link
