// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/variant_policy.hpp"

#include "messages/command_catalogue.hpp"

namespace device_link {

const VariantPolicy kQuendarPolicy = {
    .name = "Quendar",
    .reply_length_base = 0x30,
    .reply_has_error_code = true,
    .frame_end_stops_reading = true,
    .data_separator = ';',
    .data_fields_terminated = true,
    .sends_password = true,
    .field_separator = ';',
    .drops_trailing_separator = true,
    .repeats_malformed_replies = true,
    .keeps_sent_frame = true,
    .locks_receive_routine = false,
    .purges_after_open = false,
    .flushes_before_close = false,
    .command_name = &quendar::command_name,
};

const VariantPolicy kDatecsPolicy = {
    .name = "Datecs",
    .reply_length_base = 0x2B,
    .reply_has_error_code = false,
    .frame_end_stops_reading = false,
    .data_separator = ',',
    .data_fields_terminated = false,
    .sends_password = false,
    .field_separator = ',',
    .drops_trailing_separator = false,
    .repeats_malformed_replies = false,
    .keeps_sent_frame = false,
    .locks_receive_routine = true,
    .purges_after_open = true,
    .flushes_before_close = true,
    .command_name = &datecs::command_name,
};

}  // namespace device_link
