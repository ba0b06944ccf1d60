// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/workbook_words.hpp"

#include <algorithm>
#include <iterator>

namespace archive {

namespace {

enum class Use { Header, Value };

struct WorkbookWord {
  Use use;
  std::string_view code;
  std::string_view words;  // UTF-8, as the workbook holds text
};

// Different codes never share words: a filter on the column tells them apart as the
// identifiers do.
constexpr WorkbookWord kWords[] = {
    // The columns of "Документи", "Z-звіти" and "Рядки".
    {Use::Header, "number", "Номер"},
    {Use::Header, "date", "Дата"},
    {Use::Header, "time", "Час"},
    {Use::Header, "kind", "Вид"},
    {Use::Header, "receipt_number", "Номер чека"},
    {Use::Header, "cash_desk", "Каса"},
    {Use::Header, "z_number", "Z-звіт"},
    {Use::Header, "total", "Сума"},
    {Use::Header, "cancelled", "Анульовано"},
    {Use::Header, "line_type", "Вид рядка"},
    {Use::Header, "name", "Назва"},
    {Use::Header, "quantity", "Кількість"},
    {Use::Header, "price", "Ціна"},
    {Use::Header, "amount", "Сума рядка"},
    {Use::Header, "tax_letter", "Літера податку"},
    {Use::Header, "rate", "Ставка податку, %"},
    {Use::Header, "sales", "Продаж"},
    {Use::Header, "returns", "Повернення"},
    {Use::Header, "tax_sales", "Податок з продажу"},
    {Use::Header, "tax_returns", "Податок з повернення"},
    {Use::Header, "excise_rate", "Ставка акцизу, %"},
    {Use::Header, "excise_sales", "Акциз з продажу"},
    {Use::Header, "excise_returns", "Акциз з повернення"},
    // A document's kind.
    {Use::Value, "sale", "продаж"},
    {Use::Value, "return", "повернення"},
    {Use::Value, "service", "службовий чек"},
    {Use::Value, "receipt", "чек"},
    {Use::Value, "z-report", "Z-звіт"},
    // A receipt's rows.
    {Use::Value, "item", "товар"},
    {Use::Value, "item_cp", "товар (окремий запис)"},
    {Use::Value, "discount", "знижка"},
    {Use::Value, "markup", "надбавка"},
    {Use::Value, "payment", "оплата"},
    {Use::Value, "change", "решта"},
    {Use::Value, "deposit", "службове внесення"},
    {Use::Value, "withdrawal", "службова видача"},
    {Use::Value, "comment", "коментар"},
    {Use::Value, "service_info", "службова інформація"},
    {Use::Value, "void", "анулювання"},
    {Use::Value, "total", "сума чека"},
    {Use::Value, "tax", "податок"},
    {Use::Value, "excise", "акциз"},
    // A Z-report's rows.
    {Use::Value, "z_number", "номер Z-звіту"},
    {Use::Value, "sales", "продаж за формою оплати"},
    {Use::Value, "returns", "повернення за формою оплати"},
    {Use::Value, "cash_in", "внесення"},
    {Use::Value, "cash_out", "видача"},
    {Use::Value, "cash_in_drawer", "готівка в касі"},
    {Use::Value, "turnover_sales", "оборот продажу"},
    {Use::Value, "turnover_returns", "оборот повернення"},
    {Use::Value, "tax_sales", "податок з продажу"},
    {Use::Value, "tax_returns", "податок з повернення"},
    {Use::Value, "excise_sales", "акциз з продажу"},
    {Use::Value, "excise_returns", "акциз з повернення"},
    {Use::Value, "sale_receipts", "чеків продажу"},
    {Use::Value, "return_receipts", "чеків повернення"},
    {Use::Value, "payment_form", "форма оплати"},
    {Use::Value, "tax_group", "податкова група"},
};

std::string_view words_of(Use use, std::string_view code) {
  const auto found =
      std::find_if(std::begin(kWords), std::end(kWords), [&](const WorkbookWord& w) { return w.use == use && w.code == code; });
  return found == std::end(kWords) ? code : found->words;
}

}  // namespace

std::string_view workbook_header(std::string_view column) { return words_of(Use::Header, column); }
std::string_view workbook_value(std::string_view code) { return words_of(Use::Value, code); }

}  // namespace archive
