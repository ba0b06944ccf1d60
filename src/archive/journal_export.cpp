#include "archive/journal_export.hpp"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <utility>
#include <vector>

#include "journal/journal_loader.hpp"
#include "journal/number_map.hpp"
#include "render/journal_renderer.hpp"
#include "retrieval/journal_envelope.hpp"
#include "text/cp1251.hpp"

namespace archive {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The document as fetch puts it into the journal text: like a text, it ends at a zero byte.
std::string_view journal_line(const ArchivedDocument& document) {
  const std::string& bytes = document.text;
  return std::string_view(bytes.data(), strnlen(bytes.data(), bytes.size()));
}

// Reads archived documents one after another into one journal, as the loader reads the
// lines of one journal text: the journal keeps what spans documents (the first
// document's fiscal number, a DAT left without its MAC), and drops each document once
// it has been handed on.
class DocumentReader {
 public:
  using OnDocument = std::function<void(const journal::loaded_journal&, const journal::fiscal_document&, std::int32_t)>;

  void read(std::string_view line, const OnDocument& on_document) {
    // The root's V is the journal's; the later roots carry none, so the loader's state
    // goes on from the previous document as it would within one text.
    text_.assign(retrieval::kJournalDeclaration);
    text_ += first_ ? retrieval::kJournalRootStart : std::string_view("<RQ>");
    first_ = false;
    text_ += line;
    text_ += retrieval::kJournalRootEnd;
    const journal::document_closed closed = [&](std::int32_t index) {
      on_document(journal_, render::EntryOrInitial(journal_.documents, index), index);
    };
    journal::LoadJournalText(text_, journal_, state_, closed);
  }

 private:
  journal::loaded_journal journal_;
  journal::loader_state state_;
  std::string text_;
  bool first_ = true;
};

// The forms that show documents of the chosen kind as the loader reads them: each is
// handed the documents of that kind only, and counted once written.
class LoadedDocumentExport : public JournalExport {
 protected:
  explicit LoadedDocumentExport(render::DocumentKind kind) : kind_(kind) {}

  virtual bool write_loaded(const ArchivedDocument& document, const journal::loaded_journal& journal,
                            const journal::fiscal_document& loaded, std::int32_t index) = 0;

 private:
  bool write(const ArchivedDocument& document) final {
    bool ok = true;
    reader_.read(journal_line(document), [&](const journal::loaded_journal& journal,
                                             const journal::fiscal_document& loaded, std::int32_t index) {
      if (!render::ShowsDocument(kind_, loaded.is_receipt)) return;
      ok = write_loaded(document, journal, loaded, index) && ok;
      ++written_;
    });
    return ok;
  }

  const render::DocumentKind kind_;
  DocumentReader reader_;
};

class XmlExport final : public JournalExport {
 public:
  explicit XmlExport(ByteSink bytes) : bytes_(std::move(bytes)) {}

 private:
  bool start() {
    if (started_) return true;
    started_ = true;
    return put(retrieval::kJournalDeclaration) && put(retrieval::kJournalRootStart);
  }
  bool put(std::string_view line) { return bytes_(line) && bytes_(kLineEnd); }

  bool write(const ArchivedDocument& document) override {
    const std::string_view line = journal_line(document);
    if (line.empty()) return true;  // fetch leaves no line for a document without data
    ++written_;
    return start() && put(line);
  }
  bool close() override { return !started_ || put(retrieval::kJournalRootEnd); }

  ByteSink bytes_;
  bool started_ = false;
};

class TextExport final : public LoadedDocumentExport {
 public:
  TextExport(render::DocumentKind kind, const render::Organisation& organisation, render::LineSink& lines)
      : LoadedDocumentExport(kind), context_{kind, document_by_ordinal_, document_by_z_number_, organisation},
        lines_(lines) {}

 private:
  bool write_loaded(const ArchivedDocument&, const journal::loaded_journal& journal,
                    const journal::fiscal_document& loaded, std::int32_t index) override {
    render::RenderDocument(journal, loaded, index, context_, lines_);
    return true;
  }
  bool close() override { return true; }

  // As a fresh journal window has them: nothing requested by ordinal, so no Z-report linked.
  const journal::number_map document_by_ordinal_;
  journal::number_map document_by_z_number_;
  render::RenderContext context_;
  render::LineSink& lines_;
};

// ---- values as the csv and json forms write them

std::string utf8(std::string_view cp1251) { return text::to_utf8(cp1251); }

std::string amount(float hundredths) { return scaled_decimal(hundredths, 2); }
std::string negated_amount(float hundredths) { return scaled_decimal(-static_cast<double>(hundredths), 2); }
std::string rate(float percent) { return scaled_decimal(static_cast<double>(percent) * 100.0, 2); }
std::string quantity(float thousandths) { return scaled_decimal(thousandths, 3); }
std::string whole(float value) { return render::WholeText(value); }

// The tax group of a TX text and its letter, as the renderers derive them; a text that
// is no whole number fails the export as it fails the rendering.
struct TaxGroup {
  std::int32_t number = 0;
  std::string letter;  // UTF-8
};
TaxGroup tax_group(std::string_view tx) {
  const std::int32_t n = render::TaxGroupNumber(tx);
  return {n, utf8(render::TaxLetter(n))};
}
// A discount without a tax group is on every group: the renderer shows "*", group 6.
TaxGroup discount_tax_group(std::string_view tx) { return tx.empty() ? tax_group("6") : tax_group(tx); }

bool all_digits(std::string_view s) {
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// YYYY-MM-DD of YYYYMMDD..., hh:mm:ss of ...hhmmss; empty when the timestamp lacks them.
std::string iso_date(std::string_view ts) {
  if (ts.size() < 8 || !all_digits(ts.substr(0, 8))) return {};
  return std::string(ts.substr(0, 4)) + "-" + std::string(ts.substr(4, 2)) + "-" + std::string(ts.substr(6, 2));
}
std::string iso_time(std::string_view ts) {
  if (ts.size() != 14 || !all_digits(ts)) return {};
  return std::string(ts.substr(8, 2)) + ":" + std::string(ts.substr(10, 2)) + ":" + std::string(ts.substr(12, 2));
}

const char* receipt_kind(float t) {
  switch (static_cast<int>(std::trunc(t))) {
    case 0: return "sale";
    case 1: return "return";
    case 2: return "service";
    default: return "receipt";
  }
}

// The taxes a receipt's end shows, as the receipt renderer reads them: none on a
// cancelled or a service receipt; the TX children when there are any; otherwise E's
// own, where with excise (TXAL not 0) the register puts VAT into the DT attributes and
// the excise into the TX ones.
struct ReceiptTax {
  TaxGroup group;
  float rate = 0, amount = 0, excise_rate = 0, excise_amount = 0;
};
std::vector<ReceiptTax> receipt_taxes(const journal::receipt& r) {
  std::vector<ReceiptTax> taxes;
  const journal::sale_end& e = r.end;
  if (e.VD == 1 || r.T == 2) return taxes;
  if (e.has_tx) {
    for (const auto& [key, t] : e.tx_list) taxes.push_back({tax_group(t.TX), t.TXPR, t.TXSM, t.DTPR, t.DTSM});
  } else if (e.TXAL == 0) {
    taxes.push_back({tax_group(e.TX), e.TXPR, e.TXSM, 0, 0});
  } else {
    taxes.push_back({tax_group(e.TX), e.DTPR, e.DTSM, e.TXPR, e.TXSM});
  }
  return taxes;
}

// The positions of a receipt's line sequence in order, without adding the ones nobody filled.
template <class Visit>
void walk_lines(const journal::receipt& r, Visit visit) {
  for (std::int32_t position = 1; position <= r.line_total(); ++position) {
    const journal::sequence_entry* entry = r.sequence.find(position);
    if (entry != nullptr && entry->kind != journal::line_kind::none) visit(*entry);
  }
}

// ---- csv

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

// ---- json

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
          json.number("quantity", s.Q == 0 ? std::string("null") : quantity(s.Q)).number("price", amount(s.PRC));
          json.number("amount", amount(s.SM)).tax(tax_group(s.TX)).close('}');
          break;
        }
        case D:
        case S: {
          const bool discount = at.kind == D;
          const journal::sale_up_down& a = render::EntryOrInitial(discount ? r.d_list : r.s_list, at.index);
          const int base = static_cast<int>(std::trunc(a.TR));
          json.key({}).open('{').text("type", discount ? "discount" : "markup");
          json.number("percent", std::trunc(a.TY) == 1 ? rate(a.PR) : std::string("null"));
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

std::optional<ExportFormat> export_format_named(std::string_view name) {
  std::string lower(name);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  if (lower == "xml") return ExportFormat::Xml;
  if (lower == "text") return ExportFormat::Text;
  if (lower == "csv") return ExportFormat::Csv;
  if (lower == "json") return ExportFormat::Json;
  return std::nullopt;
}

void JournalExport::add(const ArchivedDocument& document) {
  if (failure_) return;
  try {
    if (!write(document)) failure_ = ExportFailure{document.number, "cannot be written", true};
  } catch (const std::exception& e) {
    failure_ = ExportFailure{document.number, e.what(), false};
  }
}

bool JournalExport::finish() {
  if (failure_) return false;
  if (!close()) failure_ = ExportFailure{0, "cannot be written", true};
  return !failure_;
}

std::unique_ptr<JournalExport> xml_export(ByteSink bytes) { return std::make_unique<XmlExport>(std::move(bytes)); }

std::unique_ptr<JournalExport> text_export(render::DocumentKind kind, const render::Organisation& organisation,
                                           render::LineSink& lines) {
  return std::make_unique<TextExport>(kind, organisation, lines);
}

std::unique_ptr<JournalExport> csv_export(render::DocumentKind kind, ByteSink bytes) {
  return std::make_unique<CsvExport>(kind, std::move(bytes));
}

std::unique_ptr<JournalExport> json_export(render::DocumentKind kind, ByteSink bytes) {
  return std::make_unique<JsonExport>(kind, std::move(bytes));
}

std::string csv_field(std::string_view utf8_value) {
  if (utf8_value.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(utf8_value);
  std::string quoted = "\"";
  for (char c : utf8_value) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string json_string(std::string_view utf8_value) {
  std::string out = "\"";
  for (char c : utf8_value) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string scaled_decimal(double value, int places) {
  // Below 2^53 the rounded value is exact as an integer; above it every double is whole
  // already and its digits come from printf, which writes them exactly.
  const double rounded = std::round(value);
  std::string digits;
  if (std::fabs(rounded) < 0x1p53) {
    const long long n = std::llabs(static_cast<long long>(rounded));
    digits = std::to_string(n);
  } else {
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.0f", std::fabs(rounded));
    digits = buf;
  }
  if (digits.size() <= static_cast<std::size_t>(places))
    digits.insert(0, static_cast<std::size_t>(places) + 1 - digits.size(), '0');
  if (places > 0) digits.insert(digits.size() - static_cast<std::size_t>(places), ".");
  const bool negative = rounded < 0;  // -0.4 rounds to -0: no sign then
  return negative ? "-" + digits : digits;
}

}  // namespace archive
