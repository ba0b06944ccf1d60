// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/sample_journal.hpp"

#include <array>
#include <cstdio>
#include <map>
#include <string_view>

#include "retrieval/base64.hpp"
#include "text/cp1251.hpp"

namespace sim {

namespace {

using namespace text::literals;

constexpr std::string_view kFiscalNumber = "3000000001";
constexpr std::string_view kFactoryNumber = "4000000001";

// Tax groups: 1 and 3 carry 20 % VAT, 3 also 5 % excise, 2 carries 7 % VAT. The excise
// group comes last: a Z-report labels its VAT with the letter after its own.
constexpr int kExciseGroup = 3;
constexpr int kReducedGroup = 2;
int vat_rate(int group) { return group == kReducedGroup ? 7 : 20; }

long rounded(long numerator, long denominator) { return (numerator + denominator / 2) / denominator; }

struct GroupTax {
  long vat = 0;
  long excise = 0;
};

// Prices include the taxes: excise is taken out of the total first, VAT out of the rest.
GroupTax tax_of(int group, long total) {
  GroupTax t;
  if (group == kExciseGroup) t.excise = rounded(total * 5, 105);
  t.vat = rounded((total - t.excise) * vat_rate(group), 100 + vat_rate(group));
  return t;
}

std::string rate(int percent) { return std::to_string(percent) + ".00"; }

std::string attr(std::string_view name, std::string_view value) {
  return " " + std::string(name) + "=\"" + std::string(value) + "\"";
}
std::string attr(std::string_view name, long value) { return attr(name, std::to_string(value)); }

struct Moment {
  int day;  // of May 2024
  int hour;
  int minute;
  std::string ts() const {
    char buf[16];
    std::snprintf(buf, sizeof buf, "202405%02d%02d%02d00", day, hour, minute);
    return buf;
  }
};

// What a day's Z-report sums up.
struct DayTotals {
  struct Form {
    long sales = 0;
    long returns = 0;
  };
  struct Group {
    long vat_sales = 0, vat_returns = 0, excise_sales = 0, excise_returns = 0, sales = 0, returns = 0;
  };
  std::map<int, Form> forms;  // 0 cash, 1 credit
  std::map<int, Group> groups;
  long deposits = 0;
  long withdrawals = 0;
  long sale_receipts = 0;
  long return_receipts = 0;
};

enum class Pay { Cash, Credit };
enum class Kind { Sale = 0, Return = 1, Service = 2 };

// Builds one receipt line by line; close() adds the payment and the end element and
// books the receipt into the day's totals.
class Receipt {
 public:
  Receipt(Kind kind, DayTotals& day) : kind_(kind), day_(day) {}

  Receipt& item(std::string_view name, long quantity, long price, int group, bool apart = false) {
    const long sum = quantity == 0 ? price : rounded(quantity * price, 1000);
    const long n = ++n_;
    lines_ += "<" + std::string(apart ? "CP" : "P") + attr("N", n) + attr("C", 1000 + group * 100 + n) +
              attr("CD", "0") + attr("NM", name) + attr("SM", sum) + attr("Q", quantity) + attr("PRC", price) +
              attr("TX", group) + "/>";
    add(group, sum);
    return *this;
  }
  // A percentage (percent > 0) or a fixed amount off the whole receipt, or onto it.
  Receipt& adjust(bool markup, int percent, long amount = 0) {
    const int group = groups_.begin()->first;  // used on receipts of one tax group only
    const long sum = percent > 0 ? rounded(subtotal_ * percent, 100) : amount;
    const long n = ++n_;
    lines_ += std::string(markup ? "<S" : "<D") + attr("N", n) + attr("TR", 1) + attr("TY", percent > 0 ? 1 : 0) +
              attr("ST", 0) + attr("NI", n - 1) + attr("TX", group) + attr("PR", rate(percent)) +
              attr("SM", sum) + "/>";
    add(group, markup ? sum : -sum);
    return *this;
  }
  Receipt& comment(std::string_view text, bool service_info = false) {
    const char* tag = service_info ? "H" : "L";
    lines_ += "<" + std::string(tag) + attr("N", ++n_) + ">" + std::string(text) + "</" + tag + ">";
    return *this;
  }
  Receipt& cash_in_out(bool deposit, long amount) {
    lines_ += std::string(deposit ? "<I" : "<O") + attr("N", ++n_) + attr("T", 0) + attr("NM", "ГОТІВКА"_cp1251) +
              attr("SM", amount) + "/>";
    (deposit ? day_.deposits : day_.withdrawals) += amount;
    total_ += amount;
    return *this;
  }
  Receipt& cancel() {
    const long n = ++n_;
    lines_ += "<VD" + attr("N", n) + attr("NI", n - 1) + "/>";
    cancelled_ = true;
    return *this;
  }

  // tendered: cash handed over (0: exactly the total). tax_children: the taxes as TX
  // elements inside E rather than as attributes of E (one tax group only).
  std::string close(long number, const Moment& at, Pay pay, long tendered, bool tax_children) {
    if (kind_ != Kind::Service && !cancelled_) {
      const int form = pay == Pay::Cash ? 0 : 1;
      const long paid = pay == Pay::Cash && tendered > total_ ? tendered : total_;
      lines_ += "<M" + attr("N", ++n_) + attr("T", form) +
                attr("NM", pay == Pay::Cash ? "ГОТІВКА"_cp1251 : "КРЕДИТ"_cp1251) + attr("SM", paid) +
                attr("RM", paid - total_) + (pay == Pay::Credit ? attr("RRN", std::to_string(409000000000LL + number * 7919LL)) : "") +
                "/>";
      book(form);
    }
    std::string end = "<E" + attr("N", ++n_) + attr("NO", number) + attr("SM", cancelled_ ? 0 : total_) + attr("SE", 0);
    std::string children;
    if (kind_ != Kind::Service) {
      if (tax_children) {
        for (const auto& [group, sum] : groups_) {
          const GroupTax t = tax_of(group, sum);
          children += "<TX" + attr("TX", group) + attr("TXPR", rate(vat_rate(group))) + attr("TXSM", t.vat) +
                      attr("DTPR", rate(group == kExciseGroup ? 5 : 0)) + attr("DTSM", t.excise) + attr("TXTY", 0) +
                      attr("TXAL", group == kExciseGroup ? 1 : 0) + "/>";
        }
      } else {
        const auto& [group, sum] = *groups_.begin();
        const GroupTax t = tax_of(group, sum);
        // With excise the register puts VAT into the DT attributes and the excise into TX.
        if (group == kExciseGroup)
          end += attr("TX", group) + attr("TXPR", rate(5)) + attr("TXSM", t.excise) + attr("DTPR", rate(20)) +
                 attr("DTSM", t.vat) + attr("TXTY", 0) + attr("TXAL", 1);
        else
          end += attr("TX", group) + attr("TXPR", rate(vat_rate(group))) + attr("TXSM", t.vat) + attr("TXTY", 0) +
                 attr("TXAL", 0);
      }
    }
    end += attr("CS", 1) + attr("VD", cancelled_ ? 1 : 0) + attr("TS", at.ts()) + attr("FN", kFiscalNumber);
    end += children.empty() ? "/>" : ">" + children + "</E>";
    return "<C" + attr("T", static_cast<int>(kind_)) + ">" + lines_ + end + "</C>";
  }

 private:
  void add(int group, long sum) {
    groups_[group] += sum;
    subtotal_ += sum;
    total_ += sum;
  }
  void book(int form) {
    const bool sale = kind_ == Kind::Sale;
    (sale ? day_.forms[form].sales : day_.forms[form].returns) += total_;
    (sale ? day_.sale_receipts : day_.return_receipts) += 1;
    for (const auto& [group, sum] : groups_) {
      const GroupTax t = tax_of(group, sum);
      DayTotals::Group& g = day_.groups[group];
      (sale ? g.sales : g.returns) += sum;
      (sale ? g.vat_sales : g.vat_returns) += t.vat;
      (sale ? g.excise_sales : g.excise_returns) += t.excise;
    }
  }

  Kind kind_;
  DayTotals& day_;
  std::string lines_;
  std::map<int, long> groups_;
  long subtotal_ = 0;
  long total_ = 0;
  long n_ = 0;
  bool cancelled_ = false;
};

std::string z_report(long z_number, const DayTotals& day) {
  std::string z = "<Z" + attr("NO", z_number) + ">";
  for (const auto& [form, f] : day.forms)
    z += "<M" + attr("T", form) + attr("NM", form == 0 ? "ГОТІВКА"_cp1251 : "КРЕДИТ"_cp1251) + attr("SMI", f.sales) +
         attr("SMO", f.returns) + "/>";
  const DayTotals::Form cash = day.forms.count(0) ? day.forms.at(0) : DayTotals::Form{};
  z += "<IO" + attr("T", 0) + attr("NM", "ГОТІВКА"_cp1251) + attr("SMI", day.deposits) + attr("SMO", day.withdrawals) +
       attr("SMT", day.deposits - day.withdrawals + cash.sales - cash.returns) + "/>";
  z += "<NC" + attr("NI", day.sale_receipts) + attr("NO", day.return_receipts) + "/>";
  for (const auto& [group, g] : day.groups)
    z += "<TXS" + attr("TX", group) + attr("TS", "20240101") + attr("TXPR", rate(vat_rate(group))) +
         attr("TXI", g.vat_sales) + attr("TXO", g.vat_returns) + attr("DTPR", rate(group == kExciseGroup ? 5 : 0)) +
         attr("DTI", g.excise_sales) + attr("DTO", g.excise_returns) + attr("TXTY", 0) +
         attr("TXAL", group == kExciseGroup ? 1 : 0) + attr("SMI", g.sales) + attr("SMO", g.returns) + "/>";
  return z + "</Z>";
}

// The register signs every document; the signature here only has to look like one.
std::string signature(long document) {
  std::string bytes;
  std::uint32_t x = static_cast<std::uint32_t>(document) * 2654435761u + 12345u;
  for (int i = 0; i < 48; ++i) {
    x = x * 1664525u + 1013904223u;
    bytes += static_cast<char>(x >> 24);
  }
  return retrieval::base64_encode(bytes);
}

std::string document_line(long number, const std::string& body, const Moment& at) {
  return "<DAT" + attr("FN", kFiscalNumber) + attr("TN", "ПН 123456789012"_cp1251) + attr("ZN", kFactoryNumber) +
         attr("DI", number) + attr("DT", 0) + attr("V", 1) + ">" + body + "<TS>" + at.ts() + "</TS></DAT>" +
         "<MAC" + attr("DI", number) + attr("NT", 1) + ">" + signature(number) + "</MAC>";
}

}  // namespace

std::string sample_journal_text() {
  std::string text = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n";
  long document = 0;
  long receipt = 120;
  long z_number = 40;
  for (int d = 0; d < 3; ++d) {
    const int day = 13 + d;
    DayTotals totals;
    const auto add = [&](int hour, int minute, const std::string& body) {
      text += document_line(++document, body, Moment{day, hour, minute}) + "\r\n";
    };
    const auto at = [&](int hour, int minute) { return Moment{day, hour, minute}; };

    add(8, 55, Receipt(Kind::Service, totals).cash_in_out(true, 50000 + d * 10000)
                   .close(++receipt, at(8, 55), Pay::Cash, 0, false));
    {
      Receipt r(Kind::Sale, totals);
      r.item("Хліб житній"_cp1251, 0, 1250, 1)
          .item("Молоко пастеризоване 2,5% жиру, пляшка 0,9 л"_cp1251, 2000 + d * 1000, 2150, 1);
      if (d == 1)
        r.adjust(false, 0, 500);  // a fixed discount
      else
        r.adjust(false, 10);
      add(9, 12 + d, r.close(++receipt, at(9, 12 + d), Pay::Cash, 10000, true));
    }
    add(9, 47, Receipt(Kind::Sale, totals).item("Кава мелена «Арабіка» 250 г"_cp1251, 1000, 8990, 1)
                   .comment("Дякуємо за покупку!"_cp1251)
                   .close(++receipt, at(9, 47), Pay::Credit, 0, false));
    {
      Receipt r(Kind::Sale, totals);
      r.item("Горілка «Козацька» 0,5 л"_cp1251, 1000, 14500, kExciseGroup);
      if (d > 0) r.item("Сигарети «Прилуки»"_cp1251, 1000 * d, 7500, kExciseGroup);
      add(10, 31, r.close(++receipt, at(10, 31), Pay::Cash, 20000 + d * 10000, false));
    }
    add(11, 20, Receipt(Kind::Sale, totals).item("Цукор білий"_cp1251, 1500, 3200, 1)
                    .item("Пластир медичний"_cp1251, 2000, 2500, kReducedGroup)
                    .item("Набір «Святковий»"_cp1251, 0, 24900, 1, true)
                    .comment("Касир: Петренко О."_cp1251, true)
                    .close(++receipt, at(11, 20), Pay::Cash, 50000, true));
    add(12, 5, Receipt(Kind::Return, totals).item("Вода мінеральна 1,5 л"_cp1251, 1000 + d * 1000, 1800, 1)
                   .close(++receipt, at(12, 5), Pay::Cash, 0, true));
    add(13, 40, Receipt(Kind::Sale, totals).item("Пакет поліетиленовий"_cp1251, 0, 150, 1)
                    .item("Вода мінеральна 1,5 л"_cp1251, 2000, 1800, 1)
                    .adjust(true, 5)
                    .close(++receipt, at(13, 40), Pay::Credit, 0, true));
    add(15, 10, Receipt(Kind::Sale, totals).item("Кава мелена «Арабіка» 250 г"_cp1251, 1000, 8990, 1)
                    .cancel()
                    .close(++receipt, at(15, 10), Pay::Cash, 0, false));
    add(17, 25, Receipt(Kind::Sale, totals).item("Хліб житній"_cp1251, 0, 1250, 1)
                    .item("Сигарети «Прилуки»"_cp1251, 1000, 7500, kExciseGroup)
                    .comment("Акція: третя пачка зі знижкою"_cp1251)
                    .close(++receipt, at(17, 25), Pay::Cash, 10000, true));
    add(20, 30, Receipt(Kind::Service, totals).cash_in_out(false, 30000)
                    .close(++receipt, at(20, 30), Pay::Cash, 0, false));
    add(21, 0, z_report(++z_number, totals));
  }
  return text + "</RQ>\r\n";
}

}  // namespace sim
