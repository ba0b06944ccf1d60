#include "link/command_data.hpp"

namespace device_link {

std::string command_data(const VariantPolicy& policy, std::string_view password,
                         std::initializer_list<DataField> fields) {
  std::string data;
  bool first = true;
  const auto put = [&](std::string_view value) {
    if (!first && !policy.data_fields_terminated) data += policy.data_separator;
    data += value;
    if (policy.data_fields_terminated) data += policy.data_separator;
    first = false;
  };
  if (policy.sends_password) put(password);
  for (const DataField& f : fields) put(f.value);
  return data;
}

}  // namespace device_link
