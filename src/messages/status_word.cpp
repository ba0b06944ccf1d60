// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/status_word.hpp"

#include <array>

#include "text/wording.hpp"

namespace status {

using namespace text::literals;

namespace {

constexpr int kLink = -1;

constexpr std::array<StatusBit, 28> kBits = {{
    {0x00000001, 0, 0x01, TALQEN_NOOP("StatusWord", "Синтаксическая ошибка"), 1},
    {0x00000002, 0, 0x02, TALQEN_NOOP("StatusWord", "Неверная команда"), 2},
    {0x00000004, 0, 0x04, TALQEN_NOOP("StatusWord", "Дата и время неверны"), 3},
    {0x00000008, 0, 0x10, TALQEN_NOOP("StatusWord", "Ошибка печати"), 4},
    {0x00000010, 1, 0x01, TALQEN_NOOP("StatusWord", "Арифметическое переполнение"), 5},
    {0x00000020, 1, 0x02, TALQEN_NOOP("StatusWord", "Команда не разрешена"), 6},
    {0x00000040, 1, 0x04, TALQEN_NOOP("StatusWord", "Обнуление ОЗУ"), 7},
    {0x00000080, 1, 0x08, {}, 0},
    {0x00000100, 1, 0x10, TALQEN_NOOP("StatusWord", "Обнуление ОЗУ"), 8},
    {0x00000200, 2, 0x01, TALQEN_NOOP("StatusWord", "Нет бумаги"), 9},
    {0x00000400, 2, 0x08, {}, 0},
    {0x00000800, 2, 0x20, {}, 0},
    {0x00001000, 1, 0x20, {}, 0},
    {0x00002000, 4, 0x04, TALQEN_NOOP("StatusWord", "Не модуля фиск. памяти"), 10},
    {0x00004000, 5, 0x20, {}, 0},
    {0x00010000, 4, 0x01, TALQEN_NOOP("StatusWord", "Ошибка записи в фиск. память"), 12},
    {0x00020000, 4, 0x10, TALQEN_NOOP("StatusWord", "Фиск. память переполнена"), 13},
    {0x00040000, 5, 0x01, TALQEN_NOOP("StatusWord", "Запись в фиск. память запрещена"), 14},
    {0x00080000, 5, 0x04, TALQEN_NOOP("StatusWord", "Ошибка последнего Z-отчета"), 15},
    {0x00100000, 4, 0x08, TALQEN_NOOP("StatusWord", "В фиск. памяти мало места"), 11},
    {0x00200000, 5, 0x02, {}, 0},
    {0x00400000, 5, 0x08, {}, 0},
    {0x00800000, 5, 0x10, {}, 0},
    {kChecksumMismatch, kLink, 0, TALQEN_NOOP("StatusWord", "Ошибка протокола"), 16},
    {kNak, kLink, 0, TALQEN_NOOP("StatusWord", "Ошибка приема команды"), 17},
    {kNoReply, kLink, 0, TALQEN_NOOP("StatusWord", "Таймаут"), 18},
    {0x08000000, 0, 0x20, TALQEN_NOOP("StatusWord", "Общая ошибка"), 19},
    {0x10000000, 4, 0x20, TALQEN_NOOP("StatusWord", "Общая ошибка фиск. памяти"), 20},
}};

constexpr int kReportedBits = 20;

constexpr std::array<const StatusBit*, kReportedBits> in_test_order() {
  std::array<const StatusBit*, kReportedBits> order{};
  for (const StatusBit& b : kBits)
    if (b.test_order > 0) order[static_cast<std::size_t>(b.test_order - 1)] = &b;
  return order;
}

constexpr auto kTestOrder = in_test_order();

}  // namespace

std::span<const StatusBit> status_bits() { return kBits; }

std::uint32_t bits_from_status_bytes(std::span<const std::uint8_t, kStatusByteCount> bytes) {
  std::uint32_t word = 0;
  for (const StatusBit& b : kBits)
    if (b.byte != kLink && (bytes[static_cast<std::size_t>(b.byte)] & b.mask) != 0) word |= b.bit;
  return word;
}

std::uint32_t build_status_word(ExchangeOutcome outcome,
                                std::span<const std::uint8_t, kStatusByteCount> bytes) {
  switch (outcome) {
    case ExchangeOutcome::NotFinished: return kNoReply;
    case ExchangeOutcome::Nak: return kNak;
    case ExchangeOutcome::ChecksumMismatch: return kChecksumMismatch;
    case ExchangeOutcome::Complete: break;
  }
  return bits_from_status_bytes(bytes);
}

std::string message_of(const StatusBit& bit) { return text::say({"StatusWord", bit.message}); }

const StatusBit* first_reported_bit(std::uint32_t word) {
  for (const StatusBit* b : kTestOrder)
    if ((word & b->bit) != 0) return b;
  return nullptr;
}

}  // namespace status
