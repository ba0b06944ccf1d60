// SPDX-License-Identifier: GPL-3.0-or-later
// The command catalogues of the two protocol variants: the name that a result record
// carries for a command code, and for the Quendar variant the description of the
// parameters that the command's data field expects.
#pragma once

#include <string_view>

namespace quendar {
// The name of a command, or "Неверная команда" for a code the catalogue does not know.
// The view is followed by a zero byte: data() is a C string that lives for the program.
std::string_view command_name(int code);
// The parameter description of a command; empty for a code the catalogue does not know.
std::string_view command_parameters(int code);
}  // namespace quendar

namespace datecs {
std::string_view command_name(int code);
}  // namespace datecs
