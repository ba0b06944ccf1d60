// SPDX-License-Identifier: GPL-3.0-or-later
// SHA-256 through OpenSSL's libcrypto, the one libpq is built with: a document's text is
// compared with the centre's by it, as the server's sha256() computes it.
#pragma once

#include <string>
#include <string_view>

namespace archive {

// The 32 bytes of the digest.
std::string sha256(std::string_view bytes);

// The digest as 64 lower-case hexadecimal digits.
std::string hex(std::string_view bytes);

}  // namespace archive
