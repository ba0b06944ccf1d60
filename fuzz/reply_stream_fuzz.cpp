// Any byte stream from the line, through the receiver and the result building of both
// variants: nothing may leave its buffer.
#include <cstddef>
#include <cstdint>

#include "link/reply_processing.hpp"
#include "link/reply_receiver.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace device_link;
  if (size == 0) return 0;
  const VariantPolicy& policy = (data[0] & 1) ? kQuendarPolicy : kDatecsPolicy;
  const int command = data[0];
  char raw[datecs::kRawReplySize] = {};
  ReplyReceiver receiver(policy, raw);
  receiver.start_exchange();
  for (std::size_t i = 1; i < size; ++i) receiver.dispatch(data[i]);
  (void)receiver.outcome();
  (void)is_well_formed_reply(raw);
  std::size_t& length = receiver.reply_length();
  length = apply_reply_fixup(command, receiver.reply_data(), length, ReplyReceiver::kReplyDataSize);
  const char* fields[datecs::kMaxFields] = {};
  split_fields(receiver.reply_data(), length, fields, {policy.field_separator, policy.drops_trailing_separator});
  return 0;
}
