// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/reply_receiver.hpp"

#include <algorithm>

#include "link/abort.hpp"
#include "link/frame.hpp"

namespace device_link {

// Indexed by ReceiverState.
const ReplyReceiver::Handler ReplyReceiver::kHandlers[kReceiverStates] = {
    &invoke<&ReplyReceiver::on_await_start>, &invoke<&ReplyReceiver::on_length>,
    &invoke<&ReplyReceiver::on_sequence>,    &invoke<&ReplyReceiver::on_command>,
    &invoke<&ReplyReceiver::on_error_code>,  &invoke<&ReplyReceiver::on_data>,
    &invoke<&ReplyReceiver::on_status_mark>, &invoke<&ReplyReceiver::on_status>,
    &invoke<&ReplyReceiver::on_postamble>,   &invoke<&ReplyReceiver::on_checksum>,
    &invoke<&ReplyReceiver::on_terminator>,
};

ReplyReceiver::ReplyReceiver(const VariantPolicy& policy, char (&raw_reply)[datecs::kRawReplySize])
    : policy_(policy), frame_end_stops_reading_(policy.frame_end_stops_reading), raw_(raw_reply) {}

void ReplyReceiver::dispatch(std::uint8_t b) {
  no_activity_ = 0;
  if (b == kSyn)
    ++syn_count_;
  else
    append_raw(b);

  if (b == kPreamble) {
    state_ = ReceiverState::AwaitStart;
  } else if (b == kTerminator) {
    if (state_ != ReceiverState::Terminator) nak_ = false;
    state_ = ReceiverState::Terminator;
  } else if (b == kNak) {
    state_ = ReceiverState::AwaitStart;
    nak_ = true;
    exchange_finished_ = true;
    return;
  }
  run(b);
}

void ReplyReceiver::append_raw(std::uint8_t b) {
  // Past the buffer, bytes are dropped; the frame then fails its checks.
  if (raw_length_ < kRawCapacity) raw_[raw_length_++] = static_cast<char>(b);
  raw_[raw_length_] = '\0';
}

void ReplyReceiver::empty_reply_data() {
  reply_length_ = 0;
  reply_data_[0] = '\0';
}

void ReplyReceiver::start_exchange() {
  syn_count_ = 0;
  frame_ended_ = false;
  checksum_matches_ = false;
  exchange_finished_ = false;
  nak_ = false;
  empty_reply_data();
  std::fill(std::begin(status_bytes_), std::end(status_bytes_), std::uint8_t{0});
}

void ReplyReceiver::end_exchange() {
  exchange_finished_ = true;
  raw_length_ = 0;
}

status::ExchangeOutcome ReplyReceiver::outcome() const {
  using status::ExchangeOutcome;
  if (!exchange_finished_) return ExchangeOutcome::NotFinished;
  if (nak_) return ExchangeOutcome::Nak;
  if (!checksum_matches_) return ExchangeOutcome::ChecksumMismatch;
  return ExchangeOutcome::Complete;
}

void ReplyReceiver::on_await_start(std::uint8_t b) {
  if (b == kPreamble) {
    state_ = ReceiverState::Length;
    frame_open_ = true;
    checksum_digits_complete_ = false;
    checksum_matches_ = false;
  }
  running_sum_ = 0;
}

void ReplyReceiver::on_length(std::uint8_t b) {
  if (b < policy_.reply_length_base) return back();
  expected_length_ = static_cast<std::uint8_t>(b - policy_.reply_length_base);
  add(b);
  state_ = ReceiverState::Sequence;
}

void ReplyReceiver::on_sequence(std::uint8_t b) {
  if (b < 0x20) return back();
  reply_sequence_ = static_cast<std::uint8_t>(b - 0x20);
  add(b);
  state_ = ReceiverState::Command;
}

void ReplyReceiver::on_command(std::uint8_t b) {
  reply_command_ = b;
  count_ = 0;
  add(b);
  empty_reply_data();
  if (policy_.reply_has_error_code) {
    error_code_length_ = 0;
    error_code_[0] = '\0';
    state_ = ReceiverState::ErrorCode;
  } else {
    state_ = expected_length_ > 0 ? ReceiverState::Data : ReceiverState::StatusMark;
  }
}

void ReplyReceiver::on_error_code(std::uint8_t b) {
  add(b);
  if (b == ';') {
    state_ = expected_length_ > 0 ? ReceiverState::Data : ReceiverState::StatusMark;
  } else if (error_code_length_ < kErrorCodeSize - 1) {
    error_code_[error_code_length_++] = static_cast<char>(b);
    error_code_[error_code_length_] = '\0';
  }
}

void ReplyReceiver::on_data(std::uint8_t b) {
  // The data counts only once all of it has arrived: a frame cut in its data gives an
  // empty reply and no fields, so that half a document fragment can never pass for one.
  if (count_ < expected_length_) {
    reply_data_[count_++] = static_cast<char>(b);
    add(b);
  }
  if (count_ >= expected_length_) {
    reply_length_ = count_;
    reply_data_[reply_length_] = '\0';
    state_ = ReceiverState::StatusMark;
  }
}

void ReplyReceiver::on_status_mark(std::uint8_t b) {
  if (b != kStatusMark) return back();
  add(b);
  count_ = 0;
  state_ = ReceiverState::Status;
}

void ReplyReceiver::on_status(std::uint8_t b) {
  if (count_ < status::kStatusByteCount) {
    status_bytes_[count_++] = b;
    add(b);
  }
  if (count_ >= status::kStatusByteCount) state_ = ReceiverState::Postamble;
}

void ReplyReceiver::on_postamble(std::uint8_t b) {
  if (b != kPostamble) return back();
  add(b);
  count_ = 0;
  received_checksum_ = 0;
  state_ = ReceiverState::Checksum;
}

void ReplyReceiver::on_checksum(std::uint8_t b) {
  if (count_ < kChecksumDigits) {
    received_checksum_ = received_checksum_ * 16 + (static_cast<std::int32_t>(b) - 0x30);
    ++count_;
  }
  if (count_ >= kChecksumDigits) {
    checksum_digits_complete_ = true;
    state_ = ReceiverState::Terminator;
  }
}

void ReplyReceiver::on_terminator(std::uint8_t b) {
  if (frame_open_) checksum_matches_ = checksum_digits_complete_ && received_checksum_ == running_sum_;
  checksum_digits_complete_ = false;
  frame_open_ = false;
  state_ = ReceiverState::AwaitStart;
  if (frame_end_stops_reading_) frame_ended_ = true;
  if (b == kTerminator) exchange_finished_ = true;
}

bool receive_byte(ReplyReceiver& receiver, SerialPort& port) {
  const ReadResult read = port.read_byte();
  if (!read.got) {
    if (read.error) {
      port.clear_error();
      receiver.back();
    }
    return false;
  }
  receiver.dispatch(read.byte);
  return true;
}

void wait_for_reply(ReplyReceiver& receiver, SerialPort& port, Clock& clock) {
  const std::int64_t deadline = clock.now_ms() + kMaxExchangeMs;
  const auto in_time = [&] { return clock.now_ms() < deadline && !abort_requested(); };
  receiver.no_activity_ = 0;
  const auto silence_limit = [&] {
    return stop_when_quiet_requested() ? std::min(receiver.silent_reads_, kQuietReadsBeforeGivingUp)
                                       : receiver.silent_reads_;
  };
  while (receiver.no_activity_ < silence_limit() && in_time()) {
    while (!receiver.frame_ended_ && in_time() && receive_byte(receiver, port)) {
    }
    if (receiver.exchange_finished_) break;
    if (port.device_lost()) break;  // nothing can come any more: no reason to wait
    ++receiver.no_activity_;
  }
  receiver.frame_ended_ = false;
}

}  // namespace device_link
