// SPDX-License-Identifier: GPL-3.0-or-later
// The serial device under one protocol driver: exactly the operations the link uses.
// One backend per platform (serial_port_posix.cpp, serial_port_win32.cpp); tests use a
// scripted fake.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace device_link {

// Total time one read_byte waits for a byte.
inline constexpr int kReadTimeoutMs = 100;

struct ReadResult {
  bool got = false;      // a byte arrived
  std::uint8_t byte = 0;
  bool error = false;    // no byte, and the device reports an error
};

class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // Opens the device exclusively and configures it: speed, 8 data bits, no parity, one
  // stop bit, everything else as the device reports it, and the read time-out above.
  // False when the device cannot be opened or configured (nothing stays open then); the
  // reason is left for last_open_error.
  virtual bool open(const std::string& name, int speed) = 0;
  // False when the device could not be closed.
  virtual bool close() = 0;
  virtual bool is_open() const = 0;

  // Waits (boundedly) until the written bytes have left.
  virtual void flush_output() = 0;
  // Discards both queues; with abort_pending, pending reads and writes are cancelled too.
  virtual void purge(bool abort_pending) = 0;
  // False when not every byte could be written.
  virtual bool write(std::span<const std::uint8_t> bytes) = 0;
  // One byte, waiting at most kReadTimeoutMs.
  virtual ReadResult read_byte() = 0;
  virtual void clear_error() = 0;
  // The device has gone away since it was opened (a USB adapter pulled out, the other
  // end of a pseudo-terminal closed): a read or write failed for that reason, and
  // nothing will come from it any more.
  virtual bool device_lost() const = 0;
};

// The backend of the platform the program runs on.
std::unique_ptr<SerialPort> make_platform_serial_port();

// The device path a port name stands for: "COM3" is \\.\COM3 on Windows and /dev/ttyS2
// on Linux; a name starting with "/" is a path already.
std::string device_path(const std::string& name);

// Why the last open of a port failed, as the user is told it: "COM3 (/dev/ttyS2): No such
// file or directory", "COM3: занят другой программой", "COM3: скорость 12345 не
// поддерживается". Empty when the last open succeeded or gave no reason. The backends
// set it; one program opens its ports one at a time, so one reason is all there is.
std::string last_open_error();
void set_last_open_error(std::string reason);

// The serial devices present on this computer.
std::vector<std::string> list_serial_ports();

}  // namespace device_link
