// SPDX-License-Identifier: GPL-3.0-or-later
// A generated shop's tape whose Z-reports add up to their shifts' receipts: each day a
// cash deposit, sales in two tax groups (one with excise) paid in cash with change or by
// card, a return, a cancelled sale, a withdrawal, and the Z-report booked from those
// receipts. The tests change it to make faults; the benchmarks archive a long one.
#pragma once

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/cp1251.hpp"

namespace testing_support {

using namespace text::literals;

inline std::string attr(std::string_view name, std::string_view value) {
  return " " + std::string(name) + "=\"" + std::string(value) + "\"";
}
inline std::string attr(std::string_view name, long long value) { return attr(name, std::to_string(value)); }

class GeneratedTape {
 public:
  struct Options {
    int days = 3;
    int receipts_a_day = 6;
    long skip_receipt_number_at = 0;  // the document whose receipt number skips one (0: none)
    std::string serial = "4000000001";  // ZN, the register's factory number
    std::string fiscal_number = "3000000001";
  };

  // Each document's text (its DAT and MAC), numbered from 1, handed on in order.
  GeneratedTape(Options options, const std::function<void(std::string&& document)>& sink)
      : sink_(sink), serial_(options.serial), fiscal_number_(options.fiscal_number) {
    long receipt_number = 500;
    long z_number = 7;
    for (int day = 1; day <= options.days; ++day) {
      Day totals;
      const auto at = [&](int minute) {
        // Days run on through the months, as far as the tape goes.
        const int month = 1 + (day - 1) / 28 % 12, year = 2024 + (day - 1) / (28 * 12);
        char ts[32];
        std::snprintf(ts, sizeof ts, "%04d%02d%02d%02d%02d00", year, month, 1 + (day - 1) % 28, 8 + minute / 60,
                      minute % 60);
        return std::string(ts);
      };
      const auto next_receipt = [&] {
        if (count_ + 1 == options.skip_receipt_number_at) ++receipt_number;
        return ++receipt_number;
      };
      add(at(0), service(next_receipt(), true, 20000 + day, totals, at(0)));
      for (int r = 0; r < options.receipts_a_day; ++r) {
        const int kind = r == 3 ? 1 : 0;
        const bool card = r % 3 == 2;
        const bool cancelled = r == 4;
        add(at(10 + r), receipt(next_receipt(), kind, 1000L * (r + 1) + 37 * day, r, card, cancelled, totals, at(10 + r)));
      }
      add(at(500), service(next_receipt(), false, 5000 + day, totals, at(500)));
      add(at(510), z_report(++z_number, totals));
    }
  }

 private:
  struct Day {
    std::map<std::string, std::pair<long long, long long>> forms;  // sales, returns
    std::map<int, std::vector<long long>> groups;  // turnover, tax, excise: sales then returns
    long long deposits = 0, withdrawals = 0, sales = 0, returns = 0;
  };

  void add(const std::string& ts, const std::string& body) {
    const long n = ++count_;
    sink_("<DAT" + attr("FN", fiscal_number_) + attr("ZN", serial_) + attr("DI", n) + ">" + body +
                        "<TS>" + ts + "</TS></DAT><MAC" + attr("DI", n) + " NT=\"1\">QUJD</MAC>");
  }

  const std::function<void(std::string&&)>& sink_;
  std::string serial_, fiscal_number_;
  long count_ = 0;

  static std::string service(long number, bool deposit, long amount, Day& day, const std::string& ts) {
    (deposit ? day.deposits : day.withdrawals) += amount;
    return "<C T=\"2\"><" + std::string(deposit ? "I" : "O") + " N=\"1\" T=\"0\"" + attr("NM", "ГОТІВКА"_cp1251) +
           attr("SM", amount) + "/><E N=\"2\"" + attr("NO", number) + attr("SM", amount) + " CS=\"1\" VD=\"0\"" +
           attr("TS", ts) + "/></C>";
  }

  // Two items in group 1, one in group 2 (with excise), a discount on group 1; the
  // taxes as TX children or, on every other receipt, as E's attributes of group 1 only.
  static std::string receipt(long number, int kind, long long price, int r, bool card, bool cancelled, Day& day,
                             const std::string& ts) {
    const long long a = price, b = 2 * price + 5, c = price / 2 + 11, discount = 3 + r;
    const bool one_group = r % 2 == 1;
    std::string lines = "<P N=\"1\"" + attr("NM", "Хліб"_cp1251) + attr("SM", a) + " Q=\"1000\"" + attr("PRC", a) +
                        " TX=\"1\"/><CP N=\"2\"" + attr("NM", "Набір"_cp1251) + attr("SM", b) + " Q=\"0\"" +
                        attr("PRC", b) + " TX=\"1\"/>";
    int n = 2;
    if (!one_group)
      lines += "<P" + attr("N", ++n) + attr("NM", "Горілка"_cp1251) + attr("SM", c) + " Q=\"1000\"" + attr("PRC", c) +
               " TX=\"2\"/>";
    lines += "<D" + attr("N", ++n) + " TR=\"1\" TY=\"0\" TX=\"1\" PR=\"0.00\"" + attr("SM", discount) + "/>";
    const long long group1 = a + b - discount, group2 = one_group ? 0 : c;
    const long long total = group1 + group2;
    const long long tax1 = group1 / 6, tax2 = group2 * 7 / 107, excise2 = group2 / 21;
    const std::string form(card ? "КАРТКА"_cp1251 : "ГОТІВКА"_cp1251);
    const long long tendered = card ? total : (total / 1000 + 1) * 1000;
    lines += "<M" + attr("N", ++n) + attr("T", card ? 1 : 0) + attr("NM", form) + attr("SM", tendered) +
             attr("RM", tendered - total) + "/>";
    if (cancelled) {
      ++n;
      lines += "<VD" + attr("N", n) + attr("NI", n - 1) + "/>";
    }
    std::string end = "<E" + attr("N", ++n) + attr("NO", number) + attr("SM", total) + " CS=\"1\"" +
                      attr("VD", cancelled ? 1 : 0) + attr("TS", ts);
    if (one_group)
      end += " TX=\"1\" TXPR=\"20.00\"" + attr("TXSM", tax1) + " TXAL=\"0\"/>";
    else
      end += "><TX TX=\"1\" TXPR=\"20.00\"" + attr("TXSM", tax1) + "/><TX TX=\"2\" TXPR=\"7.00\"" +
             attr("TXSM", tax2) + " DTPR=\"5.00\"" + attr("DTSM", excise2) + " TXAL=\"1\"/></E>";
    if (!cancelled) {
      const bool sale = kind == 0;
      auto& f = day.forms[form];
      (sale ? f.first : f.second) += total;
      (sale ? day.sales : day.returns) += 1;
      for (const auto& [group, sums] : std::map<int, std::vector<long long>>{{1, {group1, tax1, 0}},
                                                                              {2, {group2, tax2, excise2}}}) {
        if (group == 2 && one_group) continue;
        std::vector<long long>& g = day.groups[group];
        g.resize(6);
        for (int i = 0; i < 3; ++i) g[static_cast<std::size_t>(i + (sale ? 0 : 3))] += sums[static_cast<std::size_t>(i)];
      }
    }
    return "<C" + attr("T", kind) + ">" + lines + end + "</C>";
  }

  static std::string z_report(long number, const Day& day) {
    std::string z = "<Z" + attr("NO", number) + ">";
    for (const auto& [form, sums] : day.forms)
      z += "<M T=\"0\"" + attr("NM", form) + attr("SMI", sums.first) + attr("SMO", sums.second) + "/>";
    z += "<IO T=\"0\"" + attr("NM", "ГОТІВКА"_cp1251) + attr("SMI", day.deposits) + attr("SMO", day.withdrawals) +
         " SMT=\"0\"/><NC" + attr("NI", day.sales) + attr("NO", day.returns) + "/>";
    for (const auto& [group, g] : day.groups)
      z += "<TXS" + attr("TX", group) + " TS=\"20240101\"" + attr("TXI", g[1]) + attr("DTI", g[2]) + attr("SMI", g[0]) +
           attr("TXO", g[4]) + attr("DTO", g[5]) + attr("SMO", g[3]) + "/>";
    return z + "</Z>";
  }
};

// The documents of a generated tape: document n is [n - 1].
inline std::vector<std::string> generated_tape(GeneratedTape::Options options) {
  std::vector<std::string> documents;
  GeneratedTape(options, [&](std::string&& document) { documents.push_back(std::move(document)); });
  return documents;
}

}  // namespace testing_support
