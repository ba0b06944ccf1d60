// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/verification_table.hpp"

#include "archive/export_values.hpp"
#include "text/cp1251.hpp"
#include "text/wording.hpp"

using namespace text::literals;

namespace app {

namespace {

using Check = archive::Finding::Check;
using Figure = archive::Figure;

std::string number(std::int64_t n) { return std::to_string(n); }

std::string money(std::int64_t hundredths) { return archive::ScaledNumber{hundredths, 2}.text(); }

// "13.05.2024 10:00:00" of the verification's "2024-05-13 10:00:00"; anything else as it stands.
std::string readable_time(const std::string& iso) {
  if (iso.size() != 19 || iso[4] != '-' || iso[7] != '-' || iso[10] != ' ') return iso;
  return iso.substr(8, 2) + "." + iso.substr(5, 2) + "." + iso.substr(0, 4) + iso.substr(10);
}

// The figure a finding's subject names, as the start of a sentence.
std::string figure_name(Check check, const std::string& subject) {
  switch (check) {
    case Check::Receipts: return text::say(TALQEN_PHRASE("Verification", "Число чеков"));
    case Check::Sales: return text::say(TALQEN_PHRASE("Verification", "Продажи по форме оплаты «%1»"), {subject});
    case Check::Returns: return text::say(TALQEN_PHRASE("Verification", "Возвраты по форме оплаты «%1»"), {subject});
    case Check::TurnoverSales:
      return text::say(TALQEN_PHRASE("Verification", "Оборот продаж по налоговой группе %1"), {subject});
    case Check::TurnoverReturns:
      return text::say(TALQEN_PHRASE("Verification", "Оборот возвратов по налоговой группе %1"), {subject});
    case Check::TaxSales:
      return text::say(TALQEN_PHRASE("Verification", "Налог с продаж по налоговой группе %1"), {subject});
    case Check::TaxReturns:
      return text::say(TALQEN_PHRASE("Verification", "Налог с возвратов по налоговой группе %1"), {subject});
    case Check::ExciseSales:
      return text::say(TALQEN_PHRASE("Verification", "Акциз с продаж по налоговой группе %1"), {subject});
    case Check::ExciseReturns:
      return text::say(TALQEN_PHRASE("Verification", "Акциз с возвратов по налоговой группе %1"), {subject});
    case Check::SaleReceipts: return text::say(TALQEN_PHRASE("Verification", "Число чеков продажи"));
    case Check::ReturnReceipts: return text::say(TALQEN_PHRASE("Verification", "Число чеков возврата"));
    case Check::CashIn: return text::say(TALQEN_PHRASE("Verification", "Служебное внесение «%1»"), {subject});
    case Check::CashOut: return text::say(TALQEN_PHRASE("Verification", "Служебная выдача «%1»"), {subject});
    default: return subject;
  }
}

std::string sentence(const archive::Finding& f) {
  const bool run = f.first_document != f.last_document;
  switch (f.check) {
    case Check::NotFetched:
      return run ? text::say(TALQEN_PHRASE("Verification", "Этих документов нет в архиве: их получит «Пополнить архив»"))
                 : text::say(TALQEN_PHRASE("Verification", "Этого документа нет в архиве: его получит «Пополнить архив»"));
    case Check::AbsentOnRegister:
      return run ? text::say(TALQEN_PHRASE("Verification", "Этих документов нет в РРО, хотя в нем есть более поздние"))
                 : text::say(TALQEN_PHRASE("Verification", "Этого документа нет в РРО, хотя в нем есть более поздние"));
    case Check::EarlierTime:
      return text::say(TALQEN_PHRASE("Verification", "Дата и время документа раньше, чем у предыдущего"));
    case Check::Unreadable: return text::say(TALQEN_PHRASE("Verification", "Документ не читается: %1"), {f.subject});
    case Check::NoWholeDocument:
      return text::say(TALQEN_PHRASE("Verification", "Документ не читается: в нем нет целого документа (DAT и MAC)"));
    case Check::ReceiptNumber:
      return text::say(TALQEN_PHRASE("Verification", "Номер чека не следует за номером предыдущего"));
    case Check::ZReportNumber:
      return text::say(TALQEN_PHRASE("Verification", "Номер Z-отчета не следует за номером предыдущего"));
    case Check::NotCheckable:
      return text::say(TALQEN_PHRASE("Verification", "Z-отчет не проверить: в архиве нет Z-отчета перед ним"));
    case Check::DamagedFile: return text::say(TALQEN_PHRASE("Verification", "Файл архива поврежден: %1"), {f.subject});
    case Check::BelowTape:
      return run ? text::say(TALQEN_PHRASE("Verification", "Этих документов нет на ленте РРО: она начинается с документа %1"),
                             {f.subject})
                 : text::say(TALQEN_PHRASE("Verification", "Этого документа нет на ленте РРО: она начинается с документа %1"),
                             {f.subject});
    default: break;
  }
  const std::string name = figure_name(f.check, f.subject);
  return f.note ? text::say(TALQEN_PHRASE("Verification", "%1 после последнего Z-отчета, смена не закрыта"), {name})
                : text::say(TALQEN_PHRASE("Verification", "%1: Z-отчет не сходится с чеками смены"), {name});
}

std::string value(const std::optional<Figure>& figure) {
  if (!figure) return {};
  switch (figure->unit) {
    case Figure::Unit::Hundredths: return money(figure->number);
    case Figure::Unit::Whole: return number(figure->number);
    case Figure::Unit::Text: return figure->text;
  }
  return {};
}

// The expected and the found value; the words of a missing number or a time said anew.
std::pair<std::string, std::string> values(const archive::Finding& f) {
  switch (f.check) {
    case Check::NotFetched:
      return {text::say(TALQEN_PHRASE("Verification", "в архиве")),
              text::say(TALQEN_PHRASE("Verification", "не получен"))};
    case Check::AbsentOnRegister:
      return {text::say(TALQEN_PHRASE("Verification", "в архиве")),
              text::say(TALQEN_PHRASE("Verification", "нет в РРО"))};
    case Check::EarlierTime:
      return {text::say(TALQEN_PHRASE("Verification", "не раньше %1"), {readable_time(f.subject)}),
              f.found ? readable_time(f.found->text) : std::string()};
    default: return {value(f.expected), value(f.found)};
  }
}

std::string difference(const archive::Finding& f) {
  const std::optional<std::int64_t> d = f.difference();
  if (!d) return {};
  const std::string shown = f.found->unit == Figure::Unit::Hundredths ? money(*d) : number(*d);
  return *d > 0 ? "+" + shown : shown;
}

VerificationTable::Row row_of(const VerificationReport::Line& line) {
  const archive::Finding& f = line.finding;
  VerificationTable::Row row;
  row.note = f.note;
  row.first_document = line.first_document;
  row.last_document = line.last_document;
  // A finding about the file as a whole concerns no document.
  if (f.first_document > 0)
    row.cells[VerificationTable::Documents] =
        number(f.first_document) +
      (f.last_document != f.first_document ? std::string("–"_cp1251) + number(f.last_document) : std::string());
  row.cells[VerificationTable::ZReport] = f.z_number ? number(*f.z_number) : std::string();
  row.cells[VerificationTable::What] = sentence(f);
  auto [expected, found] = values(f);
  row.cells[VerificationTable::Expected] = std::move(expected);
  row.cells[VerificationTable::Found] = std::move(found);
  row.cells[VerificationTable::Difference] = difference(f);
  return row;
}

}  // namespace

std::string column_title(VerificationTable::Column column) {
  switch (column) {
    case VerificationTable::Documents: return text::say(TALQEN_PHRASE("Verification", "Документы"));
    case VerificationTable::ZReport: return text::say(TALQEN_PHRASE("Verification", "Z-отчет"));
    case VerificationTable::What: return text::say(TALQEN_PHRASE("Verification", "Что не так"));
    case VerificationTable::Expected: return text::say(TALQEN_PHRASE("Verification", "Ожидалось"));
    case VerificationTable::Found: return text::say(TALQEN_PHRASE("Verification", "Найдено"));
    case VerificationTable::Difference: return text::say(TALQEN_PHRASE("Verification", "Разница"));
    case VerificationTable::kColumns: break;
  }
  return {};
}

std::string summary_sentence(const archive::VerificationSummary& s) {
  const std::string checked = text::say(TALQEN_PHRASE("Verification", "Документов %1, Z-отчетов %2, проверено %3"),
                                        {number(s.documents), number(s.z_reports), number(s.z_reports_checked)});
  return checked + ", " +
         (s.findings == 0 ? text::say(TALQEN_PHRASE("Verification", "расхождений нет"))
                          : text::say(TALQEN_PHRASE("Verification", "расхождений %1"), {number(s.findings)}));
}

VerificationTable verification_table(const VerificationReport& report) {
  VerificationTable table;
  for (const bool notes : {false, true})
    for (const VerificationReport::Line& line : report.findings)
      if (line.finding.note == notes) table.rows.push_back(row_of(line));
  table.summary = summary_sentence(report.summary);
  return table;
}

}  // namespace app
