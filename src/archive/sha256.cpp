// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/sha256.hpp"

#include <openssl/evp.h>

#include <stdexcept>

namespace archive {

std::string sha256(std::string_view bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha256(), nullptr) != 1)
    throw std::runtime_error("SHA-256 failed");
  return std::string(reinterpret_cast<const char*>(digest), size);
}

std::string hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (const unsigned char c : bytes) {
    out += kDigits[c >> 4];
    out += kDigits[c & 0x0f];
  }
  return out;
}

}  // namespace archive
