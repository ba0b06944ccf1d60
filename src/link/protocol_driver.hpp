// SPDX-License-Identifier: GPL-3.0-or-later
// One protocol driver: a port, a sequence counter, a reply receiver and one result record.
// The program holds one per variant (quendar.hpp, datecs.hpp); tests build their own
// around a fake port and a virtual clock.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "link/clock.hpp"
#include "link/exchange_log.hpp"
#include "link/reply_receiver.hpp"
#include "link/exchange_result.hpp"
#include "link/serial_port.hpp"
#include "link/variant_policy.hpp"

namespace device_link {

// Pause before a request whose reply was malformed is sent again.
inline constexpr int kRepeatDelayMs = 2000;
inline constexpr int kMaxReplyCount = 100;

class ProtocolDriver {
 public:
  // log may be null: the variant keeps no exchange log.
  ProtocolDriver(const VariantPolicy& policy, SerialPort& port, Clock& clock,
                 ExchangeLog* log = nullptr);
  ProtocolDriver(const ProtocolDriver&) = delete;
  ProtocolDriver& operator=(const ProtocolDriver&) = delete;

  // 0 when the port is open, -1 when it could not be opened (why: last_open_error).
  int open_port(const std::string& name, int speed);
  // Non-zero when the device was closed.
  int close_port();

  // One exchange: 0, or -1 when nothing was sent (an exchange still running, no port
  // opened yet in this run, data too long for a frame, an abort requested, or a write
  // that failed; the last three give a result with the no-reply bit at once, without
  // waiting).
  int send(int command, std::string_view data, int tag = 0);
  // Sends the last command and data again; without new_sequence with the same SEQ.
  int repeat_command(bool new_sequence);
  // send, then (where the variant repeats) up to reply_count repeats of a request whose
  // raw reply is malformed.
  datecs::RetData* execute_command(int command, std::string_view data);
  // At most kMaxReplyCount: every repeat can cost a silent wait and the pause before it,
  // so a count read from a damaged file must not hold the program for days.
  void set_reply_count(int count) { reply_count_ = std::clamp(count, 0, kMaxReplyCount); }
  // Ends each exchange at the reply's terminator instead of after one more silent read,
  // where the variant waits for that read (the Datecs variant). Off by default: a
  // register may rely on the pause.
  void set_quick_end(bool quick) {
    receiver_.set_frame_end_stops_reading(quick || policy_.frame_end_stops_reading);
  }
  // Silent reads that end a wait for a reply (kSilentReads unless set).
  void set_silent_reads(int reads) { receiver_.set_silent_reads(reads); }

  datecs::RetData& result() { return result_; }
  const VariantPolicy& policy() const { return policy_; }
  SerialPort& port() { return port_; }
  bool idle() const { return receiver_.exchange_finished(); }
  // The device went away: every later exchange fails at once.
  bool device_lost() const { return port_.device_lost(); }
  std::uint8_t sequence_counter() const { return counter_; }
  // What this exchange put on and took off the line.
  std::string_view last_sent_frame() const { return last_frame_; }
  std::string_view last_raw_reply() const { return last_raw_; }

 private:
  void build_result(bool sent);

  const VariantPolicy& policy_;
  SerialPort& port_;
  Clock& clock_;
  ExchangeLog* log_;
  datecs::RetData result_;
  ReplyReceiver receiver_;
  std::uint8_t counter_ = 0;
  std::uint8_t saved_counter_ = 0;
  int last_command_ = 0;
  std::string last_data_;
  std::string last_frame_;
  std::string last_raw_;
  int reply_count_ = 1;
  static constexpr std::size_t kReplyTextSize = 200;
  static constexpr std::size_t kReplyTextCopied = 128;
  char reply_text_[kReplyTextSize] = {};
};

// Locks the byte-receive routine's code in memory before a port is opened, so a paged
// out receiver cannot miss bytes; does nothing where the platform cannot.
void lock_receive_routine();

}  // namespace device_link
