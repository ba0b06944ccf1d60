// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/status_word.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <set>

#include "text/cp1251.hpp"

using namespace text::literals;
using status::ExchangeOutcome;

namespace {

using Bytes = std::array<std::uint8_t, 6>;

TEST(StatusWord, EachCarriedStatusBitMapsToItsWordBit) {
  struct Case { int byte; std::uint8_t mask; std::uint32_t bit; };
  const Case cases[] = {
      {0, 0x01, 0x00000001}, {0, 0x02, 0x00000002}, {0, 0x04, 0x00000004}, {0, 0x10, 0x00000008},
      {1, 0x01, 0x00000010}, {1, 0x02, 0x00000020}, {1, 0x04, 0x00000040}, {1, 0x08, 0x00000080},
      {1, 0x10, 0x00000100}, {2, 0x01, 0x00000200}, {2, 0x08, 0x00000400}, {2, 0x20, 0x00000800},
      {1, 0x20, 0x00001000}, {4, 0x04, 0x00002000}, {5, 0x20, 0x00004000}, {4, 0x01, 0x00010000},
      {4, 0x10, 0x00020000}, {5, 0x01, 0x00040000}, {5, 0x04, 0x00080000}, {4, 0x08, 0x00100000},
      {5, 0x02, 0x00200000}, {5, 0x08, 0x00400000}, {5, 0x10, 0x00800000}, {0, 0x20, 0x08000000},
      {4, 0x20, 0x10000000},
  };
  for (const Case& c : cases) {
    Bytes bytes{};
    bytes[static_cast<std::size_t>(c.byte)] = c.mask;
    EXPECT_EQ(status::bits_from_status_bytes(bytes), c.bit) << "S" << c.byte << " mask " << int(c.mask);
  }
}

TEST(StatusWord, BitsOutsideTheTableAreNotCarried) {
  // S3 entirely, bits 6 and 7 everywhere, S0 bit 3, S2 bits 1, 2, 4 and S4 bit 1.
  const Bytes ignored = {0xC8, 0xC0, 0xD6, 0xFF, 0xC2, 0xC0};
  EXPECT_EQ(status::bits_from_status_bytes(ignored), 0u);
  // The usual idle answer, bit 7 set in every byte, carries nothing either.
  EXPECT_EQ(status::bits_from_status_bytes(Bytes{0x80, 0x80, 0x80, 0x80, 0x80, 0x80}), 0u);
}

TEST(StatusWord, LinkBitsTakePrecedenceAndStandAlone) {
  const Bytes busy = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(status::build_status_word(ExchangeOutcome::NotFinished, busy), 0x04000000u);
  EXPECT_EQ(status::build_status_word(ExchangeOutcome::Nak, busy), 0x02000000u);
  EXPECT_EQ(status::build_status_word(ExchangeOutcome::ChecksumMismatch, busy), 0x01000000u);
  const std::uint32_t complete = status::build_status_word(ExchangeOutcome::Complete, busy);
  EXPECT_EQ(complete & status::kLinkBits, 0u);
  EXPECT_EQ(complete, status::bits_from_status_bytes(busy));
}

TEST(StatusWord, ReportedBitFollowsTheTestOrder) {
  struct Case { std::uint32_t word; std::string_view message; };
  const Case cases[] = {
      {0x00100000 | 0x00010000, "В фиск. памяти мало места"_cp1251},
      {0x00000200 | 0x08000000, "Нет бумаги"_cp1251},
      {0x00000100, "Обнуление ОЗУ"_cp1251},
      {0x00000040, "Обнуление ОЗУ"_cp1251},
      {0x04000000, "Таймаут"_cp1251},
      {0x10000000 | 0x08000000, "Общая ошибка"_cp1251},
  };
  for (const Case& c : cases) {
    const status::StatusBit* bit = status::first_reported_bit(c.word);
    ASSERT_NE(bit, nullptr) << std::hex << c.word;
    EXPECT_EQ(bit->message, c.message) << std::hex << c.word;
  }
  EXPECT_EQ(status::first_reported_bit(0), nullptr);
  EXPECT_EQ(status::first_reported_bit(0x00000400 | 0x00800000), nullptr);
}

TEST(StatusWord, TableHasTwentyReportedBitsInDistinctPlaces) {
  std::set<int> orders;
  std::set<std::uint32_t> bits;
  for (const status::StatusBit& b : status::status_bits()) {
    EXPECT_TRUE(bits.insert(b.bit).second);
    if (b.test_order > 0) {
      EXPECT_TRUE(orders.insert(b.test_order).second);
      EXPECT_FALSE(b.message.empty());
    }
  }
  EXPECT_EQ(orders.size(), 20u);
  EXPECT_EQ(*orders.rbegin(), 20);
}

}  // namespace
