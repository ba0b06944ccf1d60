// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/connection_answer.hpp"

#include <string_view>

#include "archive/archive_filling.hpp"

namespace app {

namespace {

std::string trimmed_field(const datecs::RetData& result, int index) {
  if (index >= result.FieldCount || index >= datecs::kMaxFields || !result.Fields[index]) return {};
  std::string_view field = result.Fields[index];
  const std::size_t first = field.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(field.substr(first, field.find_last_not_of(' ') - first + 1));
}

}  // namespace

archive::ConnectionAnswer connection_answer(const messages::ProgramState& program, bool datecs) {
  // Datecs: the factory number in field 7, the fiscal number in field 8. The Quendar
  // driver keeps its one result record itself.
  if (datecs) return {trimmed_field(program.last_datecs_result, 6), trimmed_field(program.last_datecs_result, 7)};
  return archive::AnswerOfConnectionCheck(true);
}

}  // namespace app
