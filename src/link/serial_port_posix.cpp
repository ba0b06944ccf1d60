// SPDX-License-Identifier: GPL-3.0-or-later
// The serial port on POSIX systems, on termios.
#ifndef _WIN32

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>

#include "link/abort.hpp"
#include "link/serial_port.hpp"
#include "link/termios_speeds.hpp"
#include "text/cp1251.hpp"
#include "text/wording.hpp"

using namespace text::literals;

namespace device_link {

namespace {

// Bound for draining the output: a stalled line (flow control held off) must not hang us.
constexpr int kDrainLimitMs = 1000;
// Bound for one write: the time the bytes need at the line speed, plus a margin.
constexpr int kWriteMarginMs = 1000;

// Why an open failed, as the user is told it.
std::string busy(const std::string& name) {
  return text::say(TALQEN_PHRASE("SerialPort", "%1: занят другой программой"), {name});
}

std::string unsupported_speed(const std::string& name, int speed) {
  return text::say(TALQEN_PHRASE("SerialPort", "%1: скорость %2 не поддерживается"), {name, std::to_string(speed)});
}

// "COM3 (/dev/ttyS2): No such file or directory"; a port another program holds says so.
std::string os_reason(const std::string& name, const std::string& path, int error) {
  if (error == EBUSY) return busy(name);
  return name + " (" + path + "): " + std::generic_category().message(error);
}

bool refused(std::string reason) {
  set_last_open_error(std::move(reason));
  return false;
}

// Closes a descriptor on which exclusive mode was set; gives back the reason.
std::string release(int fd, std::string reason) {
  ::ioctl(fd, TIOCNXCL);
  ::close(fd);
  return reason;
}

std::int64_t now_ms() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

class PosixSerialPort final : public SerialPort {
 public:
  ~PosixSerialPort() override { close(); }

  bool open(const std::string& name, int speed) override {
    close();
    lost_ = false;
    set_last_open_error({});
    speed_t constant{};
    if (!speed_constant(speed, constant)) return refused(unsupported_speed(name, speed));
    const std::string path = device_path(name);
    // Non-blocking so that opening never waits for a carrier; reads poll with a time-out.
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return refused(os_reason(name, path, errno));
    // Exclusive as on Windows: the lock keeps out a second instance of ours even where
    // TIOCEXCL is bypassed (root), TIOCEXCL keeps other openers out. The lock comes first,
    // so that a port held by another instance never has its exclusive mode cleared by us.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      ::close(fd);
      return refused(error == EWOULDBLOCK ? busy(name) : os_reason(name, path, error));
    }
    if (::ioctl(fd, TIOCEXCL) != 0) {
      const int error = errno;
      ::close(fd);
      return refused(os_reason(name, path, error));
    }
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) return refused(release(fd, os_reason(name, path, errno)));
    // Raw 8N1; flow control and the rest stay as the device reports them.
    tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON);
    tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB);
    tio.c_cflag |= CS8 | CREAD | CLOCAL;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, constant) != 0 || ::cfsetospeed(&tio, constant) != 0)
      return refused(release(fd, unsupported_speed(name, speed)));
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) return refused(release(fd, os_reason(name, path, errno)));
    fd_ = fd;
    speed_ = speed;
    return true;
  }

  bool close() override {
    if (fd_ < 0) return false;
    // Exclusive mode belongs to the terminal, not to our descriptor: on a pseudo-terminal
    // it would outlive the close and lock every later opener but root out.
    ::ioctl(fd_, TIOCNXCL);
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0;
  }

  bool is_open() const override { return fd_ >= 0; }

  void flush_output() override {
    if (fd_ < 0) return;
    const std::int64_t deadline = now_ms() + kDrainLimitMs;
    int pending = 0;
    while (::ioctl(fd_, TIOCOUTQ, &pending) == 0 && pending > 0 && now_ms() < deadline && !abort_requested())
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }

  void purge(bool /*abort_pending*/) override {
    // Nothing is ever pending asynchronously here: every read and write returns before
    // the next call, so discarding the queues is all there is to do.
    if (fd_ >= 0) ::tcflush(fd_, TCIOFLUSH);
  }

  bool write(std::span<const std::uint8_t> bytes) override {
    if (fd_ < 0 || lost_) return false;
    const std::int64_t budget = kWriteMarginMs + static_cast<std::int64_t>(bytes.size()) * 10000 / speed_;
    const std::int64_t deadline = now_ms() + budget;
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n > 0) {
        done += static_cast<std::size_t>(n);
        continue;
      }
      if (n < 0 && errno != EAGAIN && errno != EINTR) return failed();
      const std::int64_t left = deadline - now_ms();
      if (left <= 0 || abort_requested()) return false;
      pollfd p{fd_, POLLOUT, 0};
      ::poll(&p, 1, static_cast<int>(std::min<std::int64_t>(left, kReadTimeoutMs)));
    }
    return true;
  }

  ReadResult read_byte() override {
    if (fd_ < 0 || lost_) return {false, 0, true};
    const std::int64_t deadline = now_ms() + kReadTimeoutMs;
    for (;;) {
      std::uint8_t b = 0;
      const ssize_t n = ::read(fd_, &b, 1);
      if (n == 1) return {true, b, false};
      if (n < 0 && errno != EAGAIN && errno != EINTR) {
        failed();
        return {false, 0, true};
      }
      const std::int64_t left = deadline - now_ms();
      if (left <= 0) return {};
      pollfd p{fd_, POLLIN, 0};
      const int rc = ::poll(&p, 1, static_cast<int>(left));
      if (rc < 0 && errno != EINTR) return {false, 0, true};
      if (rc > 0 && (p.revents & POLLNVAL) != 0) lost_ = true;
      if (rc > 0 && (p.revents & (POLLERR | POLLNVAL)) != 0) return {false, 0, true};
      if (rc > 0 && (p.revents & POLLHUP) != 0 && (p.revents & POLLIN) == 0) {
        // The other end is gone (a pseudo-terminal's master closed): nothing will come.
        lost_ = true;
        return {false, 0, true};
      }
    }
  }

  void clear_error() override {
    // termios keeps no sticky error state: each call reports its own error.
  }

  bool device_lost() const override { return lost_; }

 private:
  // A failed call; the errors that say the device itself is gone make it lost for good.
  bool failed() {
    if (errno == EIO || errno == ENXIO || errno == ENODEV || errno == EBADF) lost_ = true;
    return false;
  }

  bool lost_ = false;
  int fd_ = -1;
  int speed_ = 9600;
};

}  // namespace

std::unique_ptr<SerialPort> make_platform_serial_port() { return std::make_unique<PosixSerialPort>(); }

std::string device_path(const std::string& name) {
  if (!name.empty() && name.front() == '/') return name;
  if (name.size() > 3 && (name.compare(0, 3, "COM") == 0 || name.compare(0, 3, "com") == 0)) {
    const std::string digits = name.substr(3);
    if (digits.size() <= 6 && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      const long n = std::stol(digits);
      if (n >= 1) return "/dev/ttyS" + std::to_string(n - 1);
    }
  }
  return "/dev/" + name;
}

std::vector<std::string> list_serial_ports() {
  namespace fs = std::filesystem;
  std::vector<std::string> ports;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/dev", ec)) {
    const std::string name = entry.path().filename().string();
    for (const char* prefix : {"ttyS", "ttyUSB", "ttyACM"})
      if (name.rfind(prefix, 0) == 0 && name.size() > std::char_traits<char>::length(prefix))
        ports.push_back(entry.path().string());
  }
  for (const auto& entry : fs::directory_iterator("/dev/serial/by-id", ec))
    ports.push_back(entry.path().string());
  std::sort(ports.begin(), ports.end());
  return ports;
}

}  // namespace device_link

#endif
