// SPDX-License-Identifier: GPL-3.0-or-later
// The journal the benchmarks read: a shop's days of generated documents, as a journal
// text in Windows-1251 like temp.xml.
#pragma once

#include <cstdio>
#include <string>

#include "text/cp1251.hpp"

namespace bench {

// Document d's moment as its TS (YYYYMMDDhhmmss): 20 seconds apart from 1 May 2024 08:00,
// so that a date search over the whole tape finds every document.
inline std::string generated_moment(int d) {
  static constexpr int kDaysFromMay[] = {31, 30, 31, 31, 30, 31, 30, 31};
  long long seconds = 8 * 3600 + 20LL * d;
  int day = static_cast<int>(seconds / 86400);
  seconds %= 86400;
  int month = 0;
  while (month < 7 && day >= kDaysFromMay[month]) day -= kDaysFromMay[month++];
  char ts[32];
  std::snprintf(ts, sizeof ts, "2024%02d%02d%02lld%02lld%02lld", month + 5, day + 1, seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  return ts;
}

// A shop's day: receipts of one to eight lines with the usual extras, now and then a
// return or a card payment, and a Z-report after every fortieth document.
inline std::string generated_journal(int documents) {
  static const char* const kGoods[] = {
      "Батон нарізний", "Кефір 2,5% 900 г", "Яйця курячі С1, 10 шт",
      "Олія соняшникова рафінована дезодорована, 0,85 л", "Чай чорний байховий листовий 100 г",
  };
  std::string utf8 = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n";
  for (int d = 0; d < documents; ++d) {
    const std::string number = std::to_string(5000 + d);
    utf8 += "<DAT FN=\"3012345678\" ZN=\"400012345\" DI=\"" + number + "\">";
    if (d % 40 == 39) {
      utf8 += "<Z NO=\"" + std::to_string(d / 40 + 1) +
              "\"><M T=\"0\" NM=\"ГОТІВКА\" SMI=\"1234500\" SMO=\"4500\"/><M T=\"1\" NM=\"КАРТКА\" "
              "SMI=\"765400\" SMO=\"0\"/><IO T=\"0\" NM=\"ГОТІВКА\" SMI=\"50000\" SMO=\"120000\" SMT=\"1164500\"/>"
              "<NC NI=\"38\" NO=\"1\"/><TXS TX=\"1\" TS=\"20240101\" TXPR=\"20.00\" TXI=\"300000\" DTI=\"0\" "
              "DTO=\"0\" SMI=\"1800000\" SMO=\"4500\"/><TXS TX=\"2\" TS=\"20240101\" TXPR=\"7.00\" TXI=\"13000\" "
              "DTPR=\"5.00\" DTI=\"9000\" DTO=\"0\" SMI=\"199900\" SMO=\"0\"/></Z>";
    } else {
      utf8 += std::string("<C T=\"") + (d % 25 == 0 ? "1" : "0") + "\">";
      int n = 1;
      const int items = 1 + d % 8;
      for (int i = 0; i < items; ++i) {
        const int price = 1000 + 137 * ((d + i) % 50);
        const std::string tag = i % 3 == 2 ? "CP" : "P";
        utf8 += "<" + tag + " N=\"" + std::to_string(n++) + "\" NM=\"" + kGoods[(d + i) % 5] + "\" SM=\"" +
                std::to_string(price * (1 + i % 2)) + "\" Q=\"" + (i % 2 ? "2000" : "0") + "\" PRC=\"" +
                std::to_string(price) + "\" TX=\"" + (i % 4 == 3 ? "2" : "1") + "\"/>";
      }
      if (d % 6 == 0) utf8 += "<D N=\"" + std::to_string(n++) + "\" TR=\"1\" TY=\"1\" PR=\"3.00\" SM=\"95\" TX=\"1\"/>";
      if (d % 9 == 0) utf8 += "<S N=\"" + std::to_string(n++) + "\" TR=\"1\" TY=\"0\" PR=\"0\" SM=\"50\" TX=\"1\"/>";
      if (d % 5 == 0) utf8 += "<L N=\"" + std::to_string(n++) + "\">Бонусна картка 0000123</L>";
      if (d % 7 == 0)
        utf8 += "<M N=\"" + std::to_string(n++) + "\" NM=\"КРЕДИТ\" SM=\"20000\" RRN=\"4410" + number + "\"/>";
      else
        utf8 += "<M N=\"" + std::to_string(n++) + "\" NM=\"ГОТІВКА\" SM=\"50000\" RM=\"1250\"/>";
      utf8 += "<E N=\"" + std::to_string(n++) + "\" NO=\"" + number + "\" SM=\"48750\" CS=\"1\">"
              "<TX TX=\"1\" TXPR=\"20.00\" TXSM=\"7500\"/><TX TX=\"2\" TXPR=\"7.00\" TXSM=\"350\"/></E></C>";
    }
    utf8 += "<TS>" + generated_moment(d) + "</TS></DAT><MAC DI=\"" + number +
            "\" NT=\"1\">QUJD</MAC>\r\n";
  }
  utf8 += "</RQ>\r\n";
  return text::from_utf8(utf8);
}

}  // namespace bench
