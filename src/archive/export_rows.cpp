// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/export_rows.hpp"

#include <cmath>
#include <utility>

#include "render/rendering_helpers.hpp"

namespace archive {

namespace {

class RowBuilder {
 public:
  explicit RowBuilder(std::vector<DocumentRow>& rows) : rows_(rows) { rows_.clear(); }

  void receipt(const journal::receipt& r) {
    using namespace journal::line_kind;
    walk_lines(r, [&](const journal::sequence_entry& at) {
      switch (at.kind) {
        case P:
        case CP: {
          const journal::sale& s = render::EntryOrInitial(at.kind == P ? r.p_list : r.cp_list, at.index);
          add(at.kind == P ? "item" : "item_cp", utf8(s.NM),
              s.Q.whole == 0 ? std::nullopt : std::optional(quantity(s.Q)), amount(s.PRC), amount(s.SM),
              tax_group(s.TX).letter);
          break;
        }
        case D:
        case S: {
          const bool discount = at.kind == D;
          const journal::sale_up_down& a = render::EntryOrInitial(discount ? r.d_list : r.s_list, at.index);
          const std::string percent = std::trunc(a.TY) == 1 ? rate(a.PR).text() + "%" : std::string();
          add(discount ? "discount" : "markup", percent, {}, {}, discount ? negated_amount(a.SM) : amount(a.SM),
              (discount ? discount_tax_group(a.TX) : tax_group(a.TX)).letter);
          break;
        }
        case M: {
          const journal::sale_pay& m = render::EntryOrInitial(r.m_list, at.index);
          add("payment", utf8(m.NM), {}, {}, amount(m.SM));
          if (m.RM.whole != 0) add("change", utf8(m.NM), {}, {}, negated_amount(m.RM));
          break;
        }
        case I:
        case O: {
          const bool deposit = at.kind == I;
          const journal::sale_in_out& c = render::EntryOrInitial(deposit ? r.i_list : r.o_list, at.index);
          add(deposit ? "deposit" : "withdrawal", utf8(c.NM), {}, {}, deposit ? amount(c.SM) : negated_amount(c.SM));
          break;
        }
        case L: add("comment", utf8(render::EntryOrInitial(r.l_list, at.index).text)); break;
        case H: add("service_info", utf8(render::EntryOrInitial(r.h_list, at.index).text)); break;
        case VD: add("void"); break;
        case E:
          add("total", {}, {}, {}, amount(r.end.SM));
          for (const ReceiptTax& t : receipt_taxes(r)) {
            add("tax", rate(t.rate).text() + "%", {}, {}, amount(t.amount), t.group.letter);
            if (t.excise_rate != 0 || t.excise_amount.whole != 0)
              add("excise", rate(t.excise_rate).text() + "%", {}, {}, amount(t.excise_amount), t.group.letter);
          }
          break;
        default: break;
      }
    });
  }

  void z_report(const journal::z_report& z) {
    add("z_number", whole(z.NO));
    for (const auto& [key, m] : z.m_list) {
      add("sales", utf8(m.NM), {}, {}, amount(m.SMI));
      add("returns", utf8(m.NM), {}, {}, amount(m.SMO));
    }
    for (const auto& [key, io] : z.io_list) {
      add("cash_in", utf8(io.NM), {}, {}, amount(io.SMI));
      add("cash_out", utf8(io.NM), {}, {}, amount(io.SMO));
      add("cash_in_drawer", utf8(io.NM), {}, {}, amount(io.SMT));
    }
    for (const auto& [key, t] : z.txs_list) {
      const std::string letter = tax_group(t.TX).letter;
      const std::string vat = rate(t.TXPR).text() + "%";
      add("turnover_sales", vat, {}, {}, amount(t.SMI), letter);
      add("turnover_returns", vat, {}, {}, amount(t.SMO), letter);
      add("tax_sales", vat, {}, {}, amount(t.TXI), letter);
      add("tax_returns", vat, {}, {}, amount(t.TXO), letter);
      if (t.DTPR != 0 || t.DTI.whole != 0 || t.DTO.whole != 0) {
        const std::string excise = rate(t.DTPR).text() + "%";
        add("excise_sales", excise, {}, {}, amount(t.DTI), letter);
        add("excise_returns", excise, {}, {}, amount(t.DTO), letter);
      }
    }
    for (const auto& [key, nc] : z.nc_list) {
      add("sale_receipts", {}, count(nc.NI));
      add("return_receipts", {}, count(nc.NO));
    }
  }

 private:
  void add(std::string_view type, std::string name = {}, std::optional<ScaledNumber> qty = {},
           std::optional<ScaledNumber> price = {}, std::optional<ScaledNumber> sum = {}, std::string letter = {}) {
    rows_.push_back({type, std::move(name), qty, price, sum, std::move(letter)});
  }

  std::vector<DocumentRow>& rows_;
};

}  // namespace

const char* document_kind(const journal::fiscal_document& loaded) {
  if (!loaded.is_receipt) return "z-report";
  return receipt_kind(render::EntryOrInitial(loaded.receipts, loaded.receipt_key).T);
}

void document_rows(const journal::fiscal_document& loaded, std::vector<DocumentRow>& rows) {
  RowBuilder builder(rows);
  if (loaded.is_receipt) {
    builder.receipt(render::EntryOrInitial(loaded.receipts, loaded.receipt_key));
  } else {
    builder.z_report(render::EntryOrInitial(loaded.zreports, loaded.zreport_key));
  }
}

}  // namespace archive
