#include "archive/journal_export.hpp"

#include <cmath>
#include <utility>
#include <vector>

#include "archive/export_values.hpp"
#include "archive/loaded_document_export.hpp"

namespace archive {

namespace {

struct CsvRow {
  std::string_view line_type;
  std::string name;  // UTF-8
  std::string quantity, price, amount;
  std::string tax_letter;  // UTF-8
};

class CsvExport final : public LoadedDocumentExport {
 public:
  CsvExport(render::DocumentKind kind, ByteSink bytes) : LoadedDocumentExport(kind), bytes_(std::move(bytes)) {}

 private:
  bool write_loaded(const ArchivedDocument& document, const journal::loaded_journal&,
                    const journal::fiscal_document& loaded, std::int32_t) override {
    bool ok = start();
    rows_.clear();
    const char* kind = "z-report";
    if (loaded.is_receipt) {
      const journal::receipt& r = render::EntryOrInitial(loaded.receipts, loaded.receipt_key);
      kind = receipt_kind(r.T);
      receipt_rows(r);
    } else {
      z_report_rows(render::EntryOrInitial(loaded.zreports, loaded.zreport_key));
    }
    const std::string head = std::to_string(document.number) + "," + iso_date(loaded.ts.text) + "," +
                             iso_time(loaded.ts.text) + "," + kind + ",";
    for (const CsvRow& row : rows_) ok = ok && put_row(head, row);
    return ok;
  }
  bool close() override { return true; }

  bool start() {
    if (started_) return true;
    started_ = true;
    return bytes_("number,date,time,kind,line_type,name,quantity,price,amount,tax_letter\r\n");
  }

  bool put_row(const std::string& head, const CsvRow& row) {
    line_ = head;
    for (std::string_view field : {std::string_view(row.line_type), std::string_view(row.name),
                                   std::string_view(row.quantity), std::string_view(row.price),
                                   std::string_view(row.amount), std::string_view(row.tax_letter)}) {
      if (field.data() != row.line_type.data()) line_ += ',';
      line_ += csv_field(field);
    }
    line_ += "\r\n";
    return bytes_(line_);
  }

  void add_row(std::string_view type, std::string name = {}, std::string qty = {}, std::string price = {},
               std::string sum = {}, std::string letter = {}) {
    rows_.push_back({type, std::move(name), std::move(qty), std::move(price), std::move(sum), std::move(letter)});
  }

  void receipt_rows(const journal::receipt& r) {
    using namespace journal::line_kind;
    walk_lines(r, [&](const journal::sequence_entry& at) {
      switch (at.kind) {
        case P:
        case CP: {
          const journal::sale& s = render::EntryOrInitial(at.kind == P ? r.p_list : r.cp_list, at.index);
          add_row(at.kind == P ? "item" : "item_cp", utf8(s.NM), s.Q == 0 ? std::string() : quantity(s.Q),
                  amount(s.PRC), amount(s.SM), tax_group(s.TX).letter);
          break;
        }
        case D:
        case S: {
          const bool discount = at.kind == D;
          const journal::sale_up_down& a = render::EntryOrInitial(discount ? r.d_list : r.s_list, at.index);
          const std::string percent = std::trunc(a.TY) == 1 ? rate(a.PR) + "%" : std::string();
          add_row(discount ? "discount" : "markup", percent, {}, {}, discount ? negated_amount(a.SM) : amount(a.SM),
                  (discount ? discount_tax_group(a.TX) : tax_group(a.TX)).letter);
          break;
        }
        case M: {
          const journal::sale_pay& m = render::EntryOrInitial(r.m_list, at.index);
          add_row("payment", utf8(m.NM), {}, {}, amount(m.SM));
          if (m.RM != 0) add_row("change", utf8(m.NM), {}, {}, negated_amount(m.RM));
          break;
        }
        case I:
        case O: {
          const bool deposit = at.kind == I;
          const journal::sale_in_out& c = render::EntryOrInitial(deposit ? r.i_list : r.o_list, at.index);
          add_row(deposit ? "deposit" : "withdrawal", utf8(c.NM), {}, {}, deposit ? amount(c.SM) : negated_amount(c.SM));
          break;
        }
        case L: add_row("comment", utf8(render::EntryOrInitial(r.l_list, at.index).text)); break;
        case H: add_row("service_info", utf8(render::EntryOrInitial(r.h_list, at.index).text)); break;
        case VD: add_row("void"); break;
        case E:
          add_row("total", {}, {}, {}, amount(r.end.SM));
          for (const ReceiptTax& t : receipt_taxes(r)) {
            add_row("tax", rate(t.rate) + "%", {}, {}, amount(t.amount), t.group.letter);
            if (t.excise_rate != 0 || t.excise_amount != 0)
              add_row("excise", rate(t.excise_rate) + "%", {}, {}, amount(t.excise_amount), t.group.letter);
          }
          break;
        default: break;
      }
    });
  }

  void z_report_rows(const journal::z_report& z) {
    add_row("z_number", whole(z.NO));
    for (const auto& [key, m] : z.m_list) {
      add_row("sales", utf8(m.NM), {}, {}, amount(m.SMI));
      add_row("returns", utf8(m.NM), {}, {}, amount(m.SMO));
    }
    for (const auto& [key, io] : z.io_list) {
      add_row("cash_in", utf8(io.NM), {}, {}, amount(io.SMI));
      add_row("cash_out", utf8(io.NM), {}, {}, amount(io.SMO));
      add_row("cash_in_drawer", utf8(io.NM), {}, {}, amount(io.SMT));
    }
    for (const auto& [key, t] : z.txs_list) {
      const std::string letter = tax_group(t.TX).letter;
      const std::string vat = rate(t.TXPR) + "%";
      add_row("turnover_sales", vat, {}, {}, amount(t.SMI), letter);
      add_row("turnover_returns", vat, {}, {}, amount(t.SMO), letter);
      add_row("tax_sales", vat, {}, {}, amount(t.TXI), letter);
      add_row("tax_returns", vat, {}, {}, amount(t.TXO), letter);
      if (t.DTPR != 0 || t.DTI != 0 || t.DTO != 0) {
        const std::string excise = rate(t.DTPR) + "%";
        add_row("excise_sales", excise, {}, {}, amount(t.DTI), letter);
        add_row("excise_returns", excise, {}, {}, amount(t.DTO), letter);
      }
    }
    for (const auto& [key, nc] : z.nc_list) {
      add_row("sale_receipts", {}, whole(nc.NI));
      add_row("return_receipts", {}, whole(nc.NO));
    }
  }

  ByteSink bytes_;
  std::vector<CsvRow> rows_;
  std::string line_;
  bool started_ = false;
};

}  // namespace

std::unique_ptr<JournalExport> csv_export(render::DocumentKind kind, ByteSink bytes) {
  return std::make_unique<CsvExport>(kind, std::move(bytes));
}

}  // namespace archive
