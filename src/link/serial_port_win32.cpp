// SPDX-License-Identifier: GPL-3.0-or-later
// The serial port on Windows, on the Win32 communications API.
#ifdef _WIN32

#include <windows.h>

#include <algorithm>
#include <string>

#include "link/serial_port.hpp"
#include "text/cp1251.hpp"
#include "text/wording.hpp"

using namespace text::literals;

namespace device_link {

namespace {

constexpr DWORD kQueueSize = 1024;
constexpr DWORD kWriteMarginMs = 1000;

// The errors that say the device itself is gone (a USB adapter pulled out).
bool is_device_gone(DWORD error) {
  return error == ERROR_DEVICE_NOT_CONNECTED || error == ERROR_BAD_COMMAND || error == ERROR_ACCESS_DENIED ||
         error == ERROR_GEN_FAILURE || error == ERROR_OPERATION_ABORTED || error == ERROR_INVALID_HANDLE ||
         error == ERROR_FILE_NOT_FOUND || error == ERROR_DEVICE_REMOVED;
}

// Why an open failed, as the user is told it: a port held by another program says so,
// anything else names the device and the system's own words.
std::string open_failure(const std::string& name, const std::string& path, DWORD error) {
  if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION)
    return text::say(TALQEN_PHRASE("SerialPort", "%1: занят другой программой"), {name});
  char text[512] = {};
  const DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                        text, sizeof text, nullptr);
  std::string reason(text, length);
  while (!reason.empty() && (reason.back() == '\r' || reason.back() == '\n' || reason.back() == '.'))
    reason.pop_back();
  if (reason.empty()) reason = "error " + std::to_string(error);
  return name + " (" + path + "): " + reason;
}

class Win32SerialPort final : public SerialPort {
 public:
  ~Win32SerialPort() override { close(); }

  bool open(const std::string& name, int speed) override {
    close();
    set_last_open_error({});
    const std::string path = device_path(name);
    // Exclusive (no sharing), existing device only, no overlapped I/O.
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      set_last_open_error(open_failure(name, path, ::GetLastError()));
      return false;
    }
    ::SetupComm(h, kQueueSize, kQueueSize);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    // Only speed and 8N1 change; the rest stays as the driver reports it.
    if (::GetCommState(h, &dcb)) {
      dcb.BaudRate = static_cast<DWORD>(speed);
      dcb.ByteSize = 8;
      dcb.Parity = NOPARITY;
      dcb.StopBits = ONESTOPBIT;
      ::SetCommState(h, &dcb);
    }
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = 0;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = kReadTimeoutMs;
    // A write held off by flow control gives up: a second, plus the line time of its bytes.
    timeouts.WriteTotalTimeoutMultiplier = static_cast<DWORD>(10000 / std::max(speed, 1) + 1);
    timeouts.WriteTotalTimeoutConstant = kWriteMarginMs;
    if (!::SetCommTimeouts(h, &timeouts)) {
      set_last_open_error(open_failure(name, path, ::GetLastError()));
      ::CloseHandle(h);
      return false;
    }
    handle_ = h;
    lost_ = false;
    return true;
  }

  bool close() override {
    if (handle_ == INVALID_HANDLE_VALUE) return false;
    const BOOL ok = ::CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return ok != FALSE;
  }

  bool is_open() const override { return handle_ != INVALID_HANDLE_VALUE; }

  void flush_output() override {
    if (is_open()) ::FlushFileBuffers(handle_);
  }

  void purge(bool abort_pending) override {
    if (!is_open()) return;
    DWORD flags = PURGE_RXCLEAR | PURGE_TXCLEAR;
    if (abort_pending) flags |= PURGE_RXABORT | PURGE_TXABORT;
    ::PurgeComm(handle_, flags);
  }

  bool write(std::span<const std::uint8_t> bytes) override {
    if (!is_open() || lost_) return false;
    DWORD written = 0;
    if (!::WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
      lost_ = is_device_gone(::GetLastError());
      return false;
    }
    return written == bytes.size();
  }

  ReadResult read_byte() override {
    if (!is_open() || lost_) return {false, 0, true};
    std::uint8_t b = 0;
    DWORD got = 0;
    if (!::ReadFile(handle_, &b, 1, &got, nullptr)) {
      lost_ = is_device_gone(::GetLastError());
      return {false, 0, true};
    }
    if (got == 1) return {true, b, false};
    DWORD errors = 0;
    COMSTAT stat{};
    // An empty read with the device's error flags set is a read error.
    const bool error = ::ClearCommError(handle_, &errors, &stat) && errors != 0;
    return {false, 0, error};
  }

  void clear_error() override {
    if (!is_open()) return;
    DWORD errors = 0;
    COMSTAT stat{};
    ::ClearCommError(handle_, &errors, &stat);
  }

  bool device_lost() const override { return lost_; }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  bool lost_ = false;
};

}  // namespace

std::unique_ptr<SerialPort> make_platform_serial_port() { return std::make_unique<Win32SerialPort>(); }

std::string device_path(const std::string& name) { return "\\\\.\\" + name; }

std::vector<std::string> list_serial_ports() {
  std::vector<std::string> ports;
  // The ports Windows knows now, as its device map lists them.
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) == ERROR_SUCCESS) {
    for (DWORD i = 0;; ++i) {
      char name[256];
      DWORD name_size = sizeof name;
      char value[256];
      DWORD value_size = sizeof value - 1;
      DWORD type = 0;
      if (::RegEnumValueA(key, i, name, &name_size, nullptr, &type, reinterpret_cast<BYTE*>(value), &value_size) !=
          ERROR_SUCCESS)
        break;
      if (type == REG_SZ) {
        value[value_size] = '\0';
        ports.emplace_back(value);
      }
    }
    ::RegCloseKey(key);
  }
  // Where the device map says nothing (older systems, some emulations), the DOS names.
  if (ports.empty()) {
    char target[512];
    for (int n = 1; n <= 256; ++n) {
      const std::string name = "COM" + std::to_string(n);
      if (::QueryDosDeviceA(name.c_str(), target, sizeof target) != 0) ports.push_back(name);
    }
  }
  std::sort(ports.begin(), ports.end(), [](const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
  });
  ports.erase(std::unique(ports.begin(), ports.end()), ports.end());
  return ports;
}

}  // namespace device_link

#endif
