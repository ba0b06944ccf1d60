// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/quendar.hpp"

#include <memory>

#include "link/command_data.hpp"

namespace quendar {

namespace {

struct Program {
  std::unique_ptr<device_link::SerialPort> port = device_link::make_platform_serial_port();
  device_link::ExchangeLog log{device_link::system_clock()};
  device_link::ProtocolDriver driver{device_link::kQuendarPolicy, *port, device_link::system_clock(), &log};
  device_link::ProtocolDriver* current = &driver;
  datecs::RetData last;
};

Program& program() {
  static Program p;
  return p;
}

datecs::RetData run(int command, std::string_view password, std::initializer_list<device_link::DataField> fields) {
  const std::string data = device_link::command_data(device_link::kQuendarPolicy, password, fields);
  program().last = *execute_command(command, data);
  return program().last;
}

}  // namespace

device_link::ProtocolDriver& program_driver() { return *program().current; }
void set_program_driver(device_link::ProtocolDriver* driver) {
  program().current = driver ? driver : &program().driver;
}
device_link::ExchangeLog& program_log() { return program().log; }

int open_port(const std::string& name, int speed) { return program_driver().open_port(name, speed); }
int close_port() { return program_driver().close_port(); }
void set_log_name(std::string_view name) { program_log().set_log_name(name); }
void write_log(std::string_view first, std::string_view second) { program_log().write_log(first, second); }
void set_reply_count(int count) { program_driver().set_reply_count(count); }
int send_command(int command, std::string_view data) { return program_driver().send(command, data); }
int repeat_command(bool new_sequence) { return program_driver().repeat_command(new_sequence); }
datecs::RetData* execute_command(int command, std::string_view data) {
  return program_driver().execute_command(command, data);
}

datecs::RetData quendar_diagnostic_info(std::string_view password) {
  return run(device_link::kQuendarDiagnostic, password, {});
}

datecs::RetData quendar_read_document(std::string_view password, int document_type, int document_number,
                                      int fragment) {
  return run(device_link::kReadDocument, password, {document_type, document_number, fragment});
}

datecs::RetData quendar_print_documents(std::string_view password, int first, int last) {
  return run(device_link::kPrintDocuments, password, {first, last});
}

datecs::RetData quendar_find_documents_by_date(std::string_view password, std::string_view start_date,
                                               std::string_view start_time, std::string_view end_date,
                                               std::string_view end_time, int print_flag) {
  return run(device_link::kFindDocumentsByDate, password, {start_date, start_time, end_date, end_time, print_flag});
}

const datecs::RetData& last_result() { return program().last; }

}  // namespace quendar
