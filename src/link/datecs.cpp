// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/datecs.hpp"

#include <memory>

#include "link/command_data.hpp"
#include "link/frame.hpp"

namespace datecs {

namespace {

struct Program {
  std::unique_ptr<device_link::SerialPort> port = device_link::make_platform_serial_port();
  device_link::ProtocolDriver driver{device_link::kDatecsPolicy, *port, device_link::system_clock()};
  device_link::ProtocolDriver* current = &driver;
};

Program& program() {
  static Program p;
  return p;
}

int run(ResultCallback callback, int command, std::initializer_list<device_link::DataField> fields) {
  return send_with_callback(callback, 0, command, device_link::command_data(device_link::kDatecsPolicy, {}, fields));
}

}  // namespace

device_link::ProtocolDriver& program_driver() { return *program().current; }
void set_program_driver(device_link::ProtocolDriver* driver) {
  program().current = driver ? driver : &program().driver;
}

int open_port(const std::string& name, int speed) { return program_driver().open_port(name, speed); }
int close_port() { return program_driver().close_port(); }
void set_quick_end(bool quick) { program_driver().set_quick_end(quick); }

int send_with_callback(ResultCallback callback, int tag, int command, std::string_view data) {
  device_link::ProtocolDriver& driver = program_driver();
  if (!driver.idle()) return -1;
  const int sent = driver.send(command, data, tag);
  if (callback) callback(driver.result());
  return sent;
}

int datecs_diagnostic_info(ResultCallback callback) { return run(callback, device_link::kDatecsDiagnostic, {}); }

int datecs_read_document(ResultCallback callback, int document_type, int document_number, int fragment,
                         std::string_view) {
  return run(callback, device_link::kReadDocument, {document_type, document_number, fragment});
}

int datecs_print_documents(ResultCallback callback, int first, int last, std::string_view) {
  return run(callback, device_link::kPrintDocuments, {first, last});
}

int datecs_find_documents_by_date(ResultCallback callback, std::string_view start_date, std::string_view start_time,
                                  std::string_view end_date, std::string_view end_time, int print_flag,
                                  std::string_view) {
  return run(callback, device_link::kFindDocumentsByDate, {start_date, start_time, end_date, end_time, print_flag});
}

}  // namespace datecs
