// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/receipt_renderer.hpp"

#include <cmath>
#include <string>
#include <string_view>

#include "text/cp1251.hpp"

using namespace text::literals;

namespace render {

namespace {

using journal::line_kind::CP;
using journal::line_kind::D;
using journal::line_kind::E;
using journal::line_kind::H;
using journal::line_kind::I;
using journal::line_kind::L;
using journal::line_kind::M;
using journal::line_kind::O;
using journal::line_kind::P;
using journal::line_kind::S;

// The item names the tape wraps are cut after this many characters.
constexpr std::size_t kWrapWidth = 34;

double whole_part(float v) { return std::trunc(static_cast<double>(v)); }

// Positions 1 to line_total in document order; a position no line element filled is
// not in the list and so is skipped, as its kind would be none.
template <class Visit>
void WalkSequence(const journal::receipt& c, Visit&& visit) {
  const std::int32_t total = c.line_total();
  for (const auto& [position, entry] : c.sequence) {
    if (position > total) break;
    if (position >= 1) visit(entry);
  }
}

// The amount and the tax letter of a line, the blank between them belonging to the value
// so that the digits end at column 37 and the letter stands in column 39 of the line.
std::string AmountWithLetter(std::string amount, std::int64_t group) {
  amount += ' ';
  amount += TaxLetter(group);
  return amount;
}

void AppendIndented(std::string_view text, LineSink& lines) {
  std::string line = lines.line_buffer("  ");
  line += text;
  lines.push_back(std::move(line));
}

// "  " + PlaceRight (left, value, column 37), with left already in the line after the
// two blanks.
void AppendIndentedPlaced(std::string line, std::string_view value, LineSink& lines) {
  PlaceRightAfter(line, 2, value, Column::At37);
  lines.push_back(std::move(line));
}

void AppendItem(const journal::sale& item, bool wrap, LineSink& lines) {
  std::string_view name = item.NM;
  if (wrap) {
    while (name.size() > kWrapWidth) {
      AppendIndented(name.substr(0, kWrapWidth), lines);
      name.remove_prefix(kWrapWidth);
    }
  }
  std::string line = lines.line_buffer("  ");
  line += name;
  if (item.Q == 0) {
    line.append(7, ' ');
    AppendIndentedPlaced(std::move(line), AmountWithLetter(AmountText(item.SM), TaxGroupNumber(item.TX)), lines);
    return;
  }
  lines.push_back(std::move(line));
  line = lines.line_buffer("  ");
  line += QuantityText(item.Q);
  line += ". X ";  // Latin X
  line += AmountText(item.PRC);
  line += " =";
  AppendIndentedPlaced(std::move(line), AmountWithLetter(AmountText(item.SM), TaxGroupNumber(item.TX)), lines);
}

void AppendDiscount(const journal::sale_up_down& d, LineSink& lines) {
  std::string line = lines.line_buffer("    Знижка "_cp1251);
  if (whole_part(d.TY) == 1) {
    line += '-';
    line += RateText(d.PR);
    line += '%';
  }
  if (whole_part(d.TR) == 1) line += " на Суму"_cp1251;
  else if (whole_part(d.TR) == 2) line += " на Податок"_cp1251;
  // A discount without a tax group applies to all of them.
  const std::int32_t group = d.TX.empty() ? 6 : TaxGroupNumber(d.TX);
  AppendIndentedPlaced(std::move(line), AmountWithLetter("-" + AmountText(d.SM), group), lines);
}

void AppendMarkup(const journal::sale_up_down& s, LineSink& lines) {
  std::string line = lines.line_buffer("    Надбавка "_cp1251);
  line += RateText(s.PR);
  if (whole_part(s.TY) == 1) line += '%';
  AppendIndentedPlaced(std::move(line), AmountWithLetter(AmountText(s.SM), TaxGroupNumber(s.TX)), lines);
}

void AppendSaleLines(const journal::receipt& c, LineSink& lines) {
  WalkSequence(c, [&](const journal::sequence_entry& at) {
    switch (at.kind) {
      case P: AppendItem(EntryOrInitial(c.p_list, at.index), true, lines); break;
      case CP: AppendItem(EntryOrInitial(c.cp_list, at.index), false, lines); break;
      case D: AppendDiscount(EntryOrInitial(c.d_list, at.index), lines); break;
      case S: AppendMarkup(EntryOrInitial(c.s_list, at.index), lines); break;
      case I:
        lines.push_back(PlaceRight(lines.line_buffer("  Внесок"_cp1251),
                                   AmountText(EntryOrInitial(c.i_list, at.index).SM), Column::At37));
        break;
      case O:
        lines.push_back(PlaceRight(lines.line_buffer("  Видача"_cp1251),
                                   "-" + AmountText(EntryOrInitial(c.o_list, at.index).SM), Column::At37));
        break;
      case L: AppendIndented(EntryOrInitial(c.l_list, at.index).text, lines); break;
      case H: AppendIndented(EntryOrInitial(c.h_list, at.index).text, lines); break;
      default: break;  // M, VD, E come later; none is an empty position
    }
  });
}

// Label, rate with "%" ending at column 22 (eight blanks after it reach column 30), and
// the tax amount ending at column 37.
void AppendTaxLine(std::string label, const std::string& rate, const std::string& amount, LineSink& lines) {
  std::string rate_text = rate;
  rate_text += '%';
  rate_text.append(8, ' ');
  PlaceRightAfter(label, 0, rate_text, Column::At30);
  PlaceRightAfter(label, 0, amount, Column::At37);
  lines.push_back(std::move(label));
}

std::string VatLabel(std::string_view letter) {
  std::string label = LineBuffer("       ПДВ_"_cp1251);
  label += letter;
  label += ' ';
  label += letter;
  label += " = ";
  return label;
}

// Returns whether the receipt is cancelled.
bool AppendTotals(const journal::receipt& c, LineSink& lines) {
  const journal::sale_end& e = c.end;
  bool cancelled = false;
  WalkSequence(c, [&](const journal::sequence_entry& at) {
    if (at.kind != E) return;
    if (e.VD == 1) {
      cancelled = true;
      lines.emplace_back("       * ЧЕК АНУЛЬОВАНО *"_cp1251);
      return;
    }
    if (c.T == 2) return;  // a service receipt has no total
    lines.emplace_back(kSeparatorLine);
    std::string sum_label = lines.line_buffer("  Сума"_cp1251);
    sum_label.append(15, ' ');
    lines.push_back(PlaceRight(std::move(sum_label), AmountText(e.SM), Column::At37));
    if (e.has_tx) {
      for (const auto& [key, t] : e.tx_list)
        AppendTaxLine(VatLabel(TaxLetter(TaxGroupNumber(t.TX))), RateText(t.TXPR), AmountText(t.TXSM), lines);
      lines.emplace_back(kSeparatorLine);
      return;
    }
    const std::string label = VatLabel(TaxLetter(TaxGroupNumber(e.TX)));
    if (e.TXAL == 0) {
      AppendTaxLine(label, RateText7(e.TXPR), AmountText7(e.TXSM), lines);
    } else {
      AppendTaxLine(label, RateText7(e.DTPR), AmountText7(e.DTSM), lines);
      AppendTaxLine(lines.line_buffer("  Акцз. збір Д = "_cp1251), RateText7(e.TXPR), AmountText7(e.TXSM), lines);
    }
    lines.emplace_back(kSeparatorLine);
    lines.emplace_back(kSeparatorLine);
  });
  return cancelled;
}

void AppendPayments(const journal::receipt& c, LineSink& lines) {
  WalkSequence(c, [&](const journal::sequence_entry& at) {
    if (at.kind != M) return;
    const journal::sale_pay& m = EntryOrInitial(c.m_list, at.index);
    std::string label = lines.line_buffer("  ");
    label += m.NM;
    label.append(6, ' ');
    lines.push_back(PlaceRight(std::move(label), AmountText7(m.SM), Column::At37));
    if (m.NM == "КРЕДИТ"_cp1251) {
      lines.emplace_back("  Транзакція N"_cp1251);  // Latin N
      AppendIndented(m.RRN, lines);
    }
    if (m.RM != 0)
      lines.push_back(PlaceRight(lines.line_buffer("  Решта"_cp1251), "-" + AmountText(m.RM), Column::At37));
  });
}

void AppendTrailer(const journal::fiscal_document& document, const journal::receipt& c, bool cancelled, LineSink& lines) {
  // The receipt number ends at column 11 over nine zeros; date and time take 21-37.
  std::string number = PlaceRight(lines.line_buffer("  000000000"), FormatGrouped(c.end.NO), Column::At11);
  number.append(8, ' ');
  lines.push_back(PlaceRight(std::move(number), FormatTimestamp(document.ts.text, true), Column::At37));
  const double kind = whole_part(c.T);
  if (kind == 0) {
    if (!cancelled) lines.emplace_back("         ФІСКАЛЬНИЙ ЧЕК"_cp1251);
  } else if (kind == 1) {
    lines.emplace_back("         ВИДАТКОВИЙ ЧЕК"_cp1251);
  } else if (kind == 2) {
    lines.emplace_back("         СЛУЖБОВИЙ ЧЕК"_cp1251);
  }
  lines.emplace_back(kSeparatorLine);
  lines.emplace_back(kSeparatorLine);
}

}  // namespace

void RenderReceipt(const journal::loaded_journal& journal, const journal::fiscal_document& document, LineSink& lines,
                   const Organisation& organisation) {
  const journal::receipt& c = EntryOrInitial(document.receipts, document.receipt_key);
  AppendDocumentHead(journal, document, lines, organisation);
  std::string desk("            Каса"_cp1251);
  if (whole_part(c.end.CS) < 10) desk += '0';
  desk += WholeText(c.end.CS);
  lines.push_back(std::move(desk));
  lines.emplace_back(kSeparatorLine);
  if (c.T == 1) {
    lines.emplace_back("               ПОВЕРНЕННЯ"_cp1251);
    lines.emplace_back(kSeparatorLine);
  }
  AppendSaleLines(c, lines);
  const bool cancelled = AppendTotals(c, lines);
  AppendPayments(c, lines);
  AppendTrailer(document, c, cancelled, lines);
}

}  // namespace render
