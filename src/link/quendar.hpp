// SPDX-License-Identifier: GPL-3.0-or-later
// The Quendar variant as the program uses it: one driver with its exchange log, and the
// free functions that act on it.
#pragma once

#include <string>
#include <string_view>

#include "link/exchange_log.hpp"
#include "link/protocol_driver.hpp"
#include "link/exchange_result.hpp"

namespace quendar {

// The program's driver. Tests may put their own in its place (nullptr restores it).
device_link::ProtocolDriver& program_driver();
void set_program_driver(device_link::ProtocolDriver* driver);
device_link::ExchangeLog& program_log();

int open_port(const std::string& name, int speed);
int close_port();
void set_log_name(std::string_view name);
void write_log(std::string_view first, std::string_view second);
void set_reply_count(int count);
int send_command(int command, std::string_view data);
int repeat_command(bool new_sequence);
datecs::RetData* execute_command(int command, std::string_view data);

// The journal commands; each result is also kept as the variant's last result.
datecs::RetData quendar_diagnostic_info(std::string_view password);
datecs::RetData quendar_read_document(std::string_view password, int document_type, int document_number,
                                      int fragment);
datecs::RetData quendar_print_documents(std::string_view password, int first, int last);
datecs::RetData quendar_find_documents_by_date(std::string_view password, std::string_view start_date,
                                               std::string_view start_time, std::string_view end_date,
                                               std::string_view end_time, int print_flag);
const datecs::RetData& last_result();

}  // namespace quendar
