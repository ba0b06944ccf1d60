// SPDX-License-Identifier: GPL-3.0-or-later
// A pseudo-terminal with a small register on its master side, for tests that need a
// real serial line: each complete request frame is handed to an answer function whose
// result is written back ("" stays silent); a damaged frame gets a NAK.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "link/frame.hpp"

namespace testing_support {

class PtyRegister {
 public:
  using Answer = std::function<std::string(const device_link::Request&)>;

  explicit PtyRegister(Answer answer) : answer_(std::move(answer)) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    slave_ = ptsname(master_);
    thread_ = std::thread([this] { serve(); });
  }
  ~PtyRegister() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (master_ >= 0) close(master_);
  }
  const std::string& slave() const { return slave_; }

 private:
  void serve() {
    std::string pending;
    while (!stop_) {
      pollfd p{master_, POLLIN, 0};
      if (poll(&p, 1, 20) <= 0 || (p.revents & POLLIN) == 0) continue;
      char buf[256];
      const ssize_t n = read(master_, buf, sizeof buf);
      if (n <= 0) continue;
      pending.append(buf, static_cast<std::size_t>(n));
      // No request is longer than the longest frame: a line that never ends one is noise.
      if (pending.size() > device_link::kMaxRequestData + device_link::kRequestOverhead) pending.clear();
      const std::size_t end = pending.find('\x03');
      if (end == std::string::npos) continue;
      const auto request = device_link::parse_request_frame(pending.substr(0, end + 1));
      pending.erase(0, end + 1);
      const std::string reply = request ? answer_(*request) : std::string("\x15");
      if (!reply.empty()) (void)!write(master_, reply.data(), reply.size());
    }
  }

  Answer answer_;
  int master_ = -1;
  std::string slave_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
};

}  // namespace testing_support
