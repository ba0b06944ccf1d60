// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/journal_export.hpp"

#include <cmath>
#include <utility>

#include "archive/export_values.hpp"
#include "archive/loaded_document_export.hpp"

namespace archive {

namespace {

// Builds one object or array at a time; the caller puts the separators' places.
class JsonWriter {
 public:
  std::string out;

  JsonWriter& open(char bracket) {
    out += bracket;
    first_ = true;
    return *this;
  }
  JsonWriter& close(char bracket) {
    out += bracket;
    first_ = false;
    return *this;
  }
  // "name": before a value (an empty name inside an array).
  JsonWriter& key(std::string_view name) {
    if (!first_) out += ',';
    first_ = false;
    if (!name.empty()) {
      out += '"';
      out += name;
      out += "\":";
    }
    return *this;
  }
  JsonWriter& number(std::string_view name, std::string_view value) {
    key(name);
    out += value;
    return *this;
  }
  JsonWriter& number(std::string_view name, const ScaledNumber& value) { return number(name, value.text()); }
  JsonWriter& text(std::string_view name, std::string_view utf8_value) {
    key(name);
    out += json_string(utf8_value);
    return *this;
  }
  // A date or time that the timestamp may lack: null then.
  JsonWriter& text_or_null(std::string_view name, const std::string& utf8_value) {
    if (utf8_value.empty()) return number(name, "null");
    return text(name, utf8_value);
  }
  JsonWriter& boolean(std::string_view name, bool value) { return number(name, value ? "true" : "false"); }
  JsonWriter& tax(const TaxGroup& group) {
    number("tax_group", std::to_string(group.number));
    return text("tax_letter", group.letter);
  }

 private:
  bool first_ = true;
};

class JsonExport final : public LoadedDocumentExport {
 public:
  JsonExport(render::DocumentKind kind, ByteSink bytes) : LoadedDocumentExport(kind), bytes_(std::move(bytes)) {}

 private:
  bool write_loaded(const ArchivedDocument& document, const journal::loaded_journal&,
                    const journal::fiscal_document& loaded, std::int32_t) override {
    JsonWriter json;
    json.open('{').number("number", std::to_string(document.number));
    if (loaded.is_receipt) {
      receipt_object(json, render::EntryOrInitial(loaded.receipts, loaded.receipt_key), loaded.ts.text);
    } else {
      z_report_object(json, render::EntryOrInitial(loaded.zreports, loaded.zreport_key), loaded.ts.text);
    }
    json.close('}');
    return bytes_(written_ == 0 ? "[\n" : ",\n") && bytes_(json.out);
  }
  bool close() override { return written_ == 0 || bytes_("\n]\n"); }

  static void when(JsonWriter& json, std::string_view ts) {
    json.text_or_null("date", iso_date(ts)).text_or_null("time", iso_time(ts));
  }

  static void receipt_object(JsonWriter& json, const journal::receipt& r, std::string_view ts) {
    using namespace journal::line_kind;
    const journal::sale_end& e = r.end;
    json.text("kind", receipt_kind(r.T));
    when(json, ts);
    json.number("receipt_number", whole(e.NO)).number("cash_desk", whole(e.CS)).boolean("cancelled", e.VD == 1);
    json.key("lines").open('[');
    walk_lines(r, [&](const journal::sequence_entry& at) {
      switch (at.kind) {
        case P:
        case CP: {
          const journal::sale& s = render::EntryOrInitial(at.kind == P ? r.p_list : r.cp_list, at.index);
          json.key({}).open('{').text("type", at.kind == P ? "item" : "item_cp").text("name", utf8(s.NM));
          json.number("quantity", s.Q.whole == 0 ? std::string("null") : quantity(s.Q).text());
          json.number("price", amount(s.PRC));
          json.number("amount", amount(s.SM)).tax(tax_group(s.TX)).close('}');
          break;
        }
        case D:
        case S: {
          const bool discount = at.kind == D;
          const journal::sale_up_down& a = render::EntryOrInitial(discount ? r.d_list : r.s_list, at.index);
          const int base = static_cast<int>(std::trunc(a.TR));
          json.key({}).open('{').text("type", discount ? "discount" : "markup");
          json.number("percent", std::trunc(a.TY) == 1 ? rate(a.PR).text() : std::string("null"));
          json.text_or_null("applies_to", base == 1 ? "amount" : base == 2 ? "tax" : "");
          json.number("amount", discount ? negated_amount(a.SM) : amount(a.SM));
          json.tax(discount ? discount_tax_group(a.TX) : tax_group(a.TX)).close('}');
          break;
        }
        case I:
        case O: {
          const bool deposit = at.kind == I;
          const journal::sale_in_out& c = render::EntryOrInitial(deposit ? r.i_list : r.o_list, at.index);
          json.key({}).open('{').text("type", deposit ? "deposit" : "withdrawal").text("name", utf8(c.NM));
          json.number("amount", deposit ? amount(c.SM) : negated_amount(c.SM)).close('}');
          break;
        }
        case L:
        case H: {
          const std::string_view line = at.kind == L ? render::EntryOrInitial(r.l_list, at.index).text.view()
                                                     : render::EntryOrInitial(r.h_list, at.index).text.view();
          json.key({}).open('{').text("type", at.kind == L ? "comment" : "service_info").text("text", utf8(line));
          json.close('}');
          break;
        }
        default: break;  // payments, the end and the cancellation have places of their own
      }
    });
    json.close(']');
    json.key("payments").open('[');
    walk_lines(r, [&](const journal::sequence_entry& at) {
      if (at.kind != M) return;
      const journal::sale_pay& m = render::EntryOrInitial(r.m_list, at.index);
      json.key({}).open('{').text("name", utf8(m.NM)).number("amount", amount(m.SM)).number("change", amount(m.RM));
      json.text("rrn", utf8(m.RRN)).close('}');
    });
    json.close(']');
    json.key("taxes").open('[');
    for (const ReceiptTax& t : receipt_taxes(r)) {
      json.key({}).open('{').tax(t.group).number("rate", rate(t.rate)).number("amount", amount(t.amount));
      json.number("excise_rate", rate(t.excise_rate)).number("excise_amount", amount(t.excise_amount)).close('}');
    }
    json.close(']');
    json.number("total", amount(e.SM));
  }

  static void z_report_object(JsonWriter& json, const journal::z_report& z, std::string_view ts) {
    json.text("kind", "z-report");
    when(json, ts);
    json.number("z_number", whole(z.NO));
    json.key("payment_forms").open('[');
    for (const auto& [key, m] : z.m_list) {
      json.key({}).open('{').text("name", utf8(m.NM)).number("sales", amount(m.SMI));
      json.number("returns", amount(m.SMO)).close('}');
    }
    json.close(']');
    json.key("cash_movements").open('[');
    for (const auto& [key, io] : z.io_list) {
      json.key({}).open('{').text("name", utf8(io.NM)).number("cash_in", amount(io.SMI));
      json.number("cash_out", amount(io.SMO)).number("cash_in_drawer", amount(io.SMT)).close('}');
    }
    json.close(']');
    json.key("tax_groups").open('[');
    for (const auto& [key, t] : z.txs_list) {
      json.key({}).open('{').tax(tax_group(t.TX)).text_or_null("rates_from", iso_date(t.TS));
      json.number("rate", rate(t.TXPR)).number("sales", amount(t.SMI)).number("returns", amount(t.SMO));
      json.number("tax_sales", amount(t.TXI)).number("tax_returns", amount(t.TXO));
      json.number("excise_rate", rate(t.DTPR)).number("excise_sales", amount(t.DTI));
      json.number("excise_returns", amount(t.DTO)).close('}');
    }
    json.close(']');
    json.key("receipt_counts").open('[');
    for (const auto& [key, nc] : z.nc_list)
      json.key({}).open('{').number("sales", whole(nc.NI)).number("returns", whole(nc.NO)).close('}');
    json.close(']');
  }

  ByteSink bytes_;
};

}  // namespace

std::unique_ptr<JournalExport> json_export(render::DocumentKind kind, ByteSink bytes) {
  return std::make_unique<JsonExport>(kind, std::move(bytes));
}

}  // namespace archive
