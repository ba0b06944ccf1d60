// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/protocol_driver.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "link/abort.hpp"
#include "link/frame.hpp"
#include "link/reply_processing.hpp"

namespace device_link {

namespace {

std::string hex(unsigned value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%X", value);
  return buf;
}

}  // namespace

ProtocolDriver::ProtocolDriver(const VariantPolicy& policy, SerialPort& port, Clock& clock,
                               ExchangeLog* log)
    : policy_(policy), port_(port), clock_(clock), log_(log), receiver_(policy, result_.RawReply) {}

int ProtocolDriver::open_port(const std::string& name, int speed) {
  if (policy_.locks_receive_routine) lock_receive_routine();
  receiver_.allow_requests();
  set_last_open_error({});  // a backend that gives no reason leaves none behind
  if (!port_.open(name, speed)) return -1;
  if (policy_.purges_after_open) port_.purge(true);
  if (log_) log_->write_log("", "START");
  return 0;
}

int ProtocolDriver::close_port() {
  if (policy_.flushes_before_close) port_.flush_output();
  port_.purge(true);
  if (log_) log_->write_log("END", "");
  return port_.close() ? 1 : 0;
}

int ProtocolDriver::send(int command, std::string_view data, int tag) {
  if (!receiver_.exchange_finished()) return -1;

  last_data_.assign(data);
  last_command_ = command;
  saved_counter_ = counter_;
  result_.Command = command;
  result_.Tag = tag;
  result_.FieldCount = 0;
  receiver_.start_exchange();
  last_raw_.clear();

  // LEN is one byte: longer data would go out with a wrong length, so it never goes out.
  // Nothing goes out either once the user has asked to give up.
  const bool fits = data.size() <= kMaxRequestData && !abort_requested();
  bool written = false;
  if (fits) {
    ++counter_;
    if (log_) log_->write_log(hex(sequence_byte(counter_)), hex(static_cast<unsigned>(command)) + last_data_);
    last_frame_ = build_request_frame(static_cast<std::uint8_t>(command), data, counter_);
    port_.flush_output();
    port_.purge(false);
    written = port_.write({reinterpret_cast<const std::uint8_t*>(last_frame_.data()), last_frame_.size()});
    // A request that did not go out has no reply to wait for: a link failure at once.
    if (written) {
      wait_for_reply(receiver_, port_, clock_);
    } else if (log_) {
      log_->write_log("", "WRITE FAILED");
    }
    last_raw_.assign(receiver_.raw_reply());
  } else {
    last_frame_.clear();
  }
  if (policy_.keeps_sent_frame) {
    const std::size_t n = std::min(last_frame_.size(), sizeof result_.SentFrame - 1);
    std::memcpy(result_.SentFrame, last_frame_.data(), n);
    result_.SentFrame[n] = '\0';
  }

  build_result(written);
  receiver_.end_exchange();

  if (log_ && written) {
    const unsigned reply_seq = 0x20u + receiver_.reply_sequence() % 95u;
    log_->write_log(hex(reply_seq) + " SYN=" + std::to_string(receiver_.syn_count()),
                    ";" + std::string(result_.RawReply, strnlen(result_.RawReply, sizeof result_.RawReply)));
  }
  return written ? 0 : -1;
}

void ProtocolDriver::build_result(bool sent) {
  result_.FieldCount = 0;
  const status::ExchangeOutcome outcome =
      sent ? receiver_.outcome() : status::ExchangeOutcome::NotFinished;

  const std::uint8_t* bytes = receiver_.status_bytes();
  for (int i = 0; i < datecs::kStatusBytes; ++i) result_.StatusBytes[i] = bytes[i] & 0x7F;
  const std::uint32_t word = status::build_status_word(
      outcome, std::span<const std::uint8_t, status::kStatusByteCount>(bytes, status::kStatusByteCount));

  char* data = receiver_.reply_data();
  std::size_t& length = receiver_.reply_length();
  // The reply data is a text: a zero byte received inside it ends it.
  length = strnlen(data, length);
  // The reply text is the data as received, cut to 128 bytes; the rest of its buffer is
  // never written, so it stays terminated.
  const std::size_t copied = std::min(length, kReplyTextCopied);
  std::memcpy(reply_text_, data, copied);
  std::fill(reply_text_ + copied, reply_text_ + kReplyTextCopied, '\0');
  length = apply_reply_fixup(last_command_, data, length, ReplyReceiver::kReplyDataSize);

  if (policy_.reply_has_error_code) {
    const std::string_view code = receiver_.error_code();
    std::memcpy(result_.ErrorField, code.data(), code.size());
    result_.ErrorField[code.size()] = '\0';
  }
  result_.Status = word;
  result_.CommandName = policy_.command_name(last_command_).data();
  result_.SentData = last_data_.c_str();
  result_.ReplyText = reply_text_;
  result_.FieldCount = split_fields(data, length, result_.Fields,
                                    {policy_.field_separator, policy_.drops_trailing_separator});
}

int ProtocolDriver::repeat_command(bool new_sequence) {
  if (!receiver_.exchange_finished()) return -1;
  if (!new_sequence) counter_ = saved_counter_;
  const std::string data = last_data_;
  return send(last_command_, data, result_.Tag);
}

datecs::RetData* ProtocolDriver::execute_command(int command, std::string_view data) {
  // A request that was never sent has no reply to check.
  if (send(command, data) != 0 || !policy_.repeats_malformed_replies) return &result_;
  for (int attempt = 1; attempt <= reply_count_; ++attempt) {
    // A well-formed reply stays so until the next request: no further check can repeat.
    if (is_well_formed_reply(result_.RawReply)) break;
    if (port_.device_lost()) break;  // a repeat cannot reach a device that is gone
    if (giving_up_quiet_waits()) break;  // the user is stopping: no 2 s pause, no repeat
    clock_.sleep_ms(kRepeatDelayMs);
    repeat_command(false);
  }
  return &result_;
}

}  // namespace device_link
