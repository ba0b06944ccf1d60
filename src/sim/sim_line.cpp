// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/sim_line.hpp"

#include "link/termios_speeds.hpp"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "link/serial_port.hpp"

namespace sim {

namespace {

constexpr int kWriteLimitMs = 1000;
constexpr std::size_t kReadChunk = 512;

std::int64_t now_ms() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

class PseudoTerminal final : public SimLine {
 public:
  PseudoTerminal(int master, std::string path) : master_(master), path_(std::move(path)) {}
  ~PseudoTerminal() override { ::close(master_); }

  // A pseudo-terminal has one set of line settings: the master reads the client's.
  int client_speed() const override {
    termios tio{};
    return ::tcgetattr(master_, &tio) == 0 ? device_link::baud_of(::cfgetospeed(&tio)) : 0;
  }

  std::string read(int timeout_ms) override {
    pollfd p{master_, POLLIN, 0};
    const int rc = ::poll(&p, 1, timeout_ms);
    if (rc <= 0) return {};
    char buf[kReadChunk];
    const ssize_t n = (p.revents & POLLIN) != 0 ? ::read(master_, buf, sizeof buf) : -1;
    if (n <= 0) {
      // No client has the other end open (POLLHUP, reads fail with EIO): poll would
      // return at once again, so wait out the time-out here.
      std::this_thread::sleep_for(std::chrono::milliseconds(timeout_ms));
      return {};
    }
    return std::string(buf, static_cast<std::size_t>(n));
  }

  void write(std::string_view bytes) override {
    const std::int64_t deadline = now_ms() + kWriteLimitMs;
    while (!bytes.empty()) {
      const ssize_t n = ::write(master_, bytes.data(), bytes.size());
      if (n > 0) {
        bytes.remove_prefix(static_cast<std::size_t>(n));
        continue;
      }
      if (n < 0 && errno != EAGAIN && errno != EINTR) return;  // EIO: the client has gone
      const std::int64_t left = deadline - now_ms();
      if (left <= 0) return;
      pollfd p{master_, POLLOUT, 0};
      ::poll(&p, 1, static_cast<int>(left));
    }
  }

  const std::string& path() const override { return path_; }

 private:
  int master_;
  std::string path_;
};

class SerialDevice final : public SimLine {
 public:
  SerialDevice(std::unique_ptr<device_link::SerialPort> port, std::string path)
      : port_(std::move(port)), path_(std::move(path)) {}

  std::string read(int /*timeout_ms: the port's own read time-out applies*/) override {
    std::string got;
    while (got.size() < kReadChunk) {
      const device_link::ReadResult r = port_->read_byte();
      if (!r.got) {
        if (r.error) port_->clear_error();
        break;
      }
      got += static_cast<char>(r.byte);
    }
    return got;
  }

  void write(std::string_view bytes) override {
    (void)port_->write({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
  }

  const std::string& path() const override { return path_; }

 private:
  std::unique_ptr<device_link::SerialPort> port_;
  std::string path_;
};

}  // namespace

std::unique_ptr<SimLine> open_pseudo_terminal(std::string& error) {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
    error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
    if (master >= 0) ::close(master);
    return nullptr;
  }
  const char* name = ::ptsname(master);
  std::string path = name ? name : "";
  // Raw from the start: with the terminal's default echo, our own replies would come
  // back to us as input until a client set the line up. The setting outlives this open.
  const int slave = path.empty() ? -1 : ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  termios tio{};
  if (slave < 0 || ::tcgetattr(slave, &tio) != 0) {
    error = "cannot open the pseudo-terminal " + path;
    if (slave >= 0) ::close(slave);
    ::close(master);
    return nullptr;
  }
  ::cfmakeraw(&tio);
  ::tcsetattr(slave, TCSANOW, &tio);
  ::close(slave);
  ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
  return std::make_unique<PseudoTerminal>(master, path);
}

std::unique_ptr<SimLine> open_serial_device(const std::string& path, int baud, std::string& error) {
  auto port = device_link::make_platform_serial_port();
  if (!port->open(path, baud)) {
    error = "cannot open " + path + " at " + std::to_string(baud) + " baud";
    return nullptr;
  }
  return std::make_unique<SerialDevice>(std::move(port), path);
}

}  // namespace sim
