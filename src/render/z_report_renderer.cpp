// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/z_report_renderer.hpp"

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "text/cp1251.hpp"

using namespace text::literals;

namespace render {

namespace {

// The whole part of a Z-report number as a map key; numbers beyond the key range (which
// no register writes) stay at its ends instead of wrapping.
std::int32_t WholeKey(float v) {
  const double whole = std::trunc(static_cast<double>(v));
  if (whole <= -2147483648.0) return INT32_MIN;
  if (whole >= 2147483647.0) return INT32_MAX;
  return static_cast<std::int32_t>(whole);
}

// A row of the report's tables: the left value ends at column 24, the right one at 37.
void AppendRow(std::string label, const std::string& left, const std::string& right, LineSink& lines) {
  PlaceRightAfter(label, 0, left, Column::At24);
  PlaceRightAfter(label, 0, right, Column::At37);
  lines.push_back(std::move(label));
}

std::string Labelled(std::string_view prefix, std::string_view name) {
  std::string label = LineBuffer(prefix);
  label += name;
  return label;
}

void AppendZeroRow(LineSink& lines) { lines.emplace_back("                    0.00      0.00"); }

void AppendPaymentForms(const journal::z_report& z, LineSink& lines) {
  lines.emplace_back("  ------      Повернення    Продаж"_cp1251);
  // The table is summed in single precision, as the register's own totals are.
  float returns = 0;
  float sales = 0;
  for (const auto& [key, m] : z.m_list) {
    const auto r = static_cast<float>(static_cast<double>(m.SMO) * 0.01);
    const auto s = static_cast<float>(static_cast<double>(m.SMI) * 0.01);
    returns += r;
    sales += s;
    AppendRow(Labelled("  ", m.NM), FormatFixed(r, 8, 2), FormatFixed(s, 8, 2), lines);
  }
  AppendRow(lines.line_buffer("  ВСЬОГО           "_cp1251), FormatFixed(returns, 8, 2), FormatFixed(sales, 8, 2),
            lines);
}

void AppendCashMovements(const journal::z_report& z, LineSink& lines) {
  lines.emplace_back("  ------         Видача     Внесок"_cp1251);
  for (const auto& [key, io] : z.io_list) {
    AppendRow(Labelled("  ", io.NM), AmountText(io.SMO), AmountText(io.SMI), lines);
    std::string cash = lines.line_buffer("  Готівка в касі"_cp1251);
    cash.append(21, ' ');
    lines.push_back(PlaceRight(std::move(cash), AmountText(io.SMT), Column::At37));
  }
}

// A group with excise has its excise figures under its own letter and its tax figures
// under the next one.
void AppendSalesByGroup(const journal::z_report& z, LineSink& lines) {
  if (!z.has_txs) return AppendZeroRow(lines);
  for (const auto& [key, t] : z.txs_list) {
    const std::int64_t group = TaxGroupNumber(t.TX);
    const bool excise = t.DTI != 0;
    if (excise) {
      const float turnover = t.SMI - t.TXI;
      AppendRow(Labelled("  ДОД. "_cp1251, TaxLetter(group)), AmountText(t.DTI), AmountText(turnover), lines);
    }
    AppendRow(Labelled("  ДОД. "_cp1251, TaxLetter(excise ? group + 1 : group)), AmountText(t.TXI),
              AmountText(t.SMI), lines);
  }
}

// The return rows show the excise of returns in the tax column, with no excise row.
void AppendReturnsByGroup(const journal::z_report& z, LineSink& lines) {
  if (!z.has_txs) return AppendZeroRow(lines);
  for (const auto& [key, t] : z.txs_list)
    AppendRow(Labelled("  ВІД. "_cp1251, TaxLetter(TaxGroupNumber(t.TX))), AmountText(t.DTO), AmountText(t.SMO),
              lines);
}

// The counts of all NC elements written one after another.
template <class Count>
void AppendCounts(std::string_view label, const journal::z_report& z, Count count, LineSink& lines) {
  std::string line(label);
  if (!z.has_nc) {
    line += '0';
  } else {
    for (const auto& [key, nc] : z.nc_list) line += CountText(count(nc));
  }
  lines.push_back(std::move(line));
}

void AppendTaxPeriod(const journal::z_report& z, LineSink& lines) {
  std::string line = lines.line_buffer("  Податок     від "_cp1251);
  if (!z.has_txs) {
    lines.push_back(std::move(line));
    return;
  }
  const std::string_view first_date = z.txs_list.empty() ? std::string_view() : z.txs_list.begin()->second.TS;
  lines.push_back(PlaceRight(std::move(line), FormatTimestamp(first_date, false), Column::At37));
}

void AppendRates(const journal::z_report& z, LineSink& lines) {
  if (!z.has_txs) return;
  for (const auto& [key, t] : z.txs_list) {
    const std::int64_t group = TaxGroupNumber(t.TX);
    const bool excise = t.DTPR != 0;
    if (excise) {
      std::string label = lines.line_buffer("    Акцизний збір (Вк2) "_cp1251);
      label += TaxLetter(group);
      label += " = ";
      lines.push_back(PlaceRight(std::move(label), RateText(t.DTPR) + "%", Column::At37));
    }
    const std::string_view letter = TaxLetter(excise ? group + 1 : group);
    std::string label = lines.line_buffer("            ПДВ_"_cp1251);
    label += letter;
    label += " (Вкл) "_cp1251;
    label += letter;
    label += " = ";
    lines.push_back(PlaceRight(std::move(label), RateText(t.TXPR) + "%", Column::At37));
  }
}

}  // namespace

void RenderZReport(const journal::loaded_journal& journal, const journal::fiscal_document& document, std::int32_t index,
                   RenderContext& context, LineSink& lines) {
  const journal::z_report& z = EntryOrInitial(document.zreports, document.zreport_key);
  AppendDocumentHead(journal, document, lines, context.organisation);
  lines.push_back(Labelled("           Z-звіт N "_cp1251, WholeText(z.NO)));  // Latin Z and N

  // Remember which requested document this report is, so that it can be printed by its
  // Z-report number.
  const auto& ordinals = context.document_by_ordinal.entries();
  const auto found = ordinals.find(index);
  const std::int32_t requested = found == ordinals.end() ? 0 : found->second;
  if (requested != 0 && context.kind == DocumentKind::Both)
    context.document_by_z_number.set(WholeKey(z.NO), requested);

  lines.emplace_back("              ЗАГАЛОМ"_cp1251);
  if (z.has_m) AppendPaymentForms(z, lines);
  if (z.has_io) AppendCashMovements(z, lines);
  lines.emplace_back("  ------        Податок       Обіг"_cp1251);
  AppendSalesByGroup(z, lines);
  AppendCounts("  Чеків продажу "_cp1251, z, [](const journal::z_receipt_counts& nc) { return nc.NI; }, lines);
  AppendReturnsByGroup(z, lines);
  AppendCounts("  Чеків повернення "_cp1251, z, [](const journal::z_receipt_counts& nc) { return nc.NO; }, lines);
  AppendTaxPeriod(z, lines);
  AppendRates(z, lines);
  std::string date = lines.line_buffer("        ");
  lines.push_back(PlaceRight(std::move(date), FormatTimestamp(document.ts.text, true), Column::At37));
  lines.emplace_back("         ФІСКАЛЬНИЙ ЧЕК"_cp1251);
  lines.emplace_back(kSeparatorLine);
  lines.emplace_back(kSeparatorLine);
}

}  // namespace render
