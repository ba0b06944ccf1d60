// SPDX-License-Identifier: GPL-3.0-or-later
// The Datecs variant as the program uses it: one driver, each request sent once, every
// result delivered to a callback before the send returns.
#pragma once

#include <string>
#include <string_view>

#include "link/protocol_driver.hpp"
#include "link/exchange_result.hpp"

namespace datecs {

using ResultCallback = void (*)(RetData& result);

device_link::ProtocolDriver& program_driver();
void set_program_driver(device_link::ProtocolDriver* driver);

int open_port(const std::string& name, int speed);
int close_port();
// fpinit.ini's QuickEnd: every exchange ends at the reply's terminator.
void set_quick_end(bool quick);
// 0, or -1 when nothing was sent (nothing is delivered then, except for data too long for
// a frame, which is delivered with the no-reply bit).
int send_with_callback(ResultCallback callback, int tag, int command, std::string_view data);

// The journal commands: 0, or -1 when nothing was sent. The password, where a caller
// passes one, is not sent.
int datecs_diagnostic_info(ResultCallback callback);
int datecs_read_document(ResultCallback callback, int document_type, int document_number, int fragment,
                         std::string_view ignoredPassword = {});
int datecs_print_documents(ResultCallback callback, int first, int last, std::string_view ignoredPassword = {});
int datecs_find_documents_by_date(ResultCallback callback, std::string_view start_date, std::string_view start_time,
                                  std::string_view end_date, std::string_view end_time, int print_flag,
                                  std::string_view ignoredPassword = {});

}  // namespace datecs
