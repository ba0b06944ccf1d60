// SPDX-License-Identifier: GPL-3.0-or-later
// The reply receiver: reads the port byte by byte and recognises the reply frame with a
// table-driven state machine. One machine serves both variants; the variant policy says
// whether an error-code field precedes the data and how a frame's end ends the reading.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "link/clock.hpp"
#include "link/exchange_result.hpp"
#include "link/serial_port.hpp"
#include "link/variant_policy.hpp"
#include "messages/status_word.hpp"

namespace device_link {

enum class ReceiverState : std::uint8_t {
  AwaitStart, Length, Sequence, Command, ErrorCode, Data,
  StatusMark, Status, Postamble, Checksum, Terminator,
};
inline constexpr int kReceiverStates = 11;

// Consecutive empty reads that end a wait: about five seconds of silence.
inline constexpr int kSilentReads = 50;
// A line that keeps sending without completing a reply ends the wait after this long.
inline constexpr std::int64_t kMaxExchangeMs = 5 * 60 * 1000;

class ReplyReceiver {
 public:
  static constexpr std::size_t kReplyDataSize = 300;
  static constexpr std::size_t kErrorCodeSize = datecs::kErrorFieldSize;
  static constexpr std::size_t kRawCapacity = datecs::kRawReplySize - 1;

  // Non-SYN bytes go straight into raw_reply (the result record's field), which is
  // always kept zero-terminated.
  ReplyReceiver(const VariantPolicy& policy, char (&raw_reply)[datecs::kRawReplySize]);
  ReplyReceiver(const ReplyReceiver&) = delete;
  ReplyReceiver& operator=(const ReplyReceiver&) = delete;

  // Handles one received byte.
  void dispatch(std::uint8_t byte);

  // A request is about to be written: SYN count, flags, reply data and status bytes
  // start afresh. The raw reply and the error-code field are kept.
  void start_exchange();
  // The exchange is over, whatever its outcome: the next request may be sent, and the
  // raw reply is written from its start again.
  void end_exchange();
  // Allows the first request (set when a port is opened).
  void allow_requests() { exchange_finished_ = true; }

  // How the exchange ended. The checksum verdict is taken when a frame's terminator is
  // handled: bytes that trail a complete frame (a stray terminator included) cannot
  // spoil it, a frame cut short by a terminator never passes, and a new preamble
  // withdraws it.
  status::ExchangeOutcome outcome() const;

  bool exchange_finished() const { return exchange_finished_; }
  bool frame_ended() const { return frame_ended_; }
  ReceiverState state() const { return state_; }
  int syn_count() const { return syn_count_; }
  std::uint8_t reply_sequence() const { return reply_sequence_; }
  std::int32_t running_sum() const { return running_sum_; }
  std::int32_t received_checksum() const { return received_checksum_; }
  const std::uint8_t* status_bytes() const { return status_bytes_; }
  std::string_view error_code() const { return {error_code_, error_code_length_}; }
  // Bytes received since the exchange started, SYN excluded (at most kRawCapacity).
  std::string_view raw_reply() const { return {raw_, raw_length_}; }

  // The reply data, zero-terminated; the driver fixes it up and cuts it into fields in
  // place, so the buffer is handed out with its capacity.
  char* reply_data() { return reply_data_; }
  std::size_t& reply_length() { return reply_length_; }

  // Whether a handled terminator ends the reading at once, as the variant says or as
  // the user chose for it (the Datecs variant's quick end).
  void set_frame_end_stops_reading(bool stops) { frame_end_stops_reading_ = stops; }
  // How many silent reads end a wait for a reply: kSilentReads, or fewer where a quick
  // answer is all that is looked for (a search for the register).
  void set_silent_reads(int reads) { silent_reads_ = reads; }

 private:
  friend bool receive_byte(ReplyReceiver&, SerialPort&);
  friend void wait_for_reply(ReplyReceiver&, SerialPort&, Clock&);

  using Handler = void (*)(ReplyReceiver&, std::uint8_t);
  template <void (ReplyReceiver::*Method)(std::uint8_t)>
  static void invoke(ReplyReceiver& self, std::uint8_t b) {
    (self.*Method)(b);
  }
  static const Handler kHandlers[kReceiverStates];

  void run(std::uint8_t b) { kHandlers[static_cast<int>(state_)](*this, b); }
  void back() {
    state_ = ReceiverState::AwaitStart;
    frame_open_ = false;
  }
  void add(std::uint8_t b) { running_sum_ += b; }
  void append_raw(std::uint8_t b);
  void empty_reply_data();

  void on_await_start(std::uint8_t b);
  void on_length(std::uint8_t b);
  void on_sequence(std::uint8_t b);
  void on_command(std::uint8_t b);
  void on_error_code(std::uint8_t b);
  void on_data(std::uint8_t b);
  void on_status_mark(std::uint8_t b);
  void on_status(std::uint8_t b);
  void on_postamble(std::uint8_t b);
  void on_checksum(std::uint8_t b);
  void on_terminator(std::uint8_t b);

  const VariantPolicy& policy_;
  ReceiverState state_ = ReceiverState::AwaitStart;
  std::size_t count_ = 0;
  std::uint8_t expected_length_ = 0;
  std::int32_t running_sum_ = 0;
  std::int32_t received_checksum_ = 0;
  std::uint8_t reply_sequence_ = 0;
  std::uint8_t reply_command_ = 0;
  char error_code_[kErrorCodeSize] = {};
  std::size_t error_code_length_ = 0;
  char reply_data_[kReplyDataSize] = {};
  std::size_t reply_length_ = 0;
  std::uint8_t status_bytes_[status::kStatusByteCount] = {};
  bool frame_end_stops_reading_;
  int silent_reads_ = kSilentReads;
  char (&raw_)[datecs::kRawReplySize];
  std::size_t raw_length_ = 0;
  int syn_count_ = 0;
  int no_activity_ = 0;
  bool frame_ended_ = false;
  bool frame_open_ = false;  // a preamble started a frame that has not ended yet
  bool checksum_digits_complete_ = false;
  bool checksum_matches_ = false;
  bool exchange_finished_ = false;
  bool nak_ = false;
};

// Reads one byte and handles it; false when the read returned none. A read error
// clears the port's error state and abandons the frame in progress.
bool receive_byte(ReplyReceiver& receiver, SerialPort& port);

// Reads until the exchange is finished, the line has been silent for kSilentReads
// reads (or as many as set), kMaxExchangeMs have passed, the device is gone, or an
// abort is requested.
void wait_for_reply(ReplyReceiver& receiver, SerialPort& port, Clock& clock);

}  // namespace device_link
