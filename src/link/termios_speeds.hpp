// SPDX-License-Identifier: GPL-3.0-or-later
// Line speeds as POSIX termios writes them: the baud rates the serial port and the
// simulated register's line both know, and their speed_t constants. POSIX only.
#pragma once

#include <termios.h>

namespace device_link {

struct TermiosSpeed {
  int baud;
  speed_t constant;
};

inline constexpr TermiosSpeed kTermiosSpeeds[] = {
    {50, B50},       {75, B75},       {110, B110},     {134, B134},       {150, B150},      {200, B200},
    {300, B300},     {600, B600},     {1200, B1200},   {1800, B1800},     {2400, B2400},    {4800, B4800},
    {9600, B9600},   {19200, B19200}, {38400, B38400}, {57600, B57600},   {115200, B115200}, {230400, B230400},
};

inline bool speed_constant(int baud, speed_t& out) {
  for (const TermiosSpeed& s : kTermiosSpeeds)
    if (s.baud == baud) {
      out = s.constant;
      return true;
    }
  return false;
}

// 0 for a constant outside the table.
inline int baud_of(speed_t constant) {
  for (const TermiosSpeed& s : kTermiosSpeeds)
    if (s.constant == constant) return s.baud;
  return 0;
}

}  // namespace device_link
