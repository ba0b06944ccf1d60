// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/command_data.hpp"

#include <vector>

namespace device_link {

std::string join_fields(const VariantPolicy& policy, std::span<const std::string> fields) {
  std::string data;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0 && !policy.data_fields_terminated) data += policy.data_separator;
    data += fields[i];
    if (policy.data_fields_terminated) data += policy.data_separator;
  }
  return data;
}

std::string command_data(const VariantPolicy& policy, std::string_view password,
                         std::initializer_list<DataField> fields) {
  std::vector<std::string> all;
  all.reserve(fields.size() + 1);
  if (policy.sends_password) all.emplace_back(password);
  for (const DataField& f : fields) all.push_back(f.value);
  return join_fields(policy, all);
}

}  // namespace device_link
