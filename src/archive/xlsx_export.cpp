// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/xlsx_export.hpp"

#include <xlsxwriter.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "archive/export_rows.hpp"
#include "archive/export_values.hpp"
#include "archive/loaded_document_export.hpp"
#include "archive/workbook_words.hpp"
#include "text/cp1251.hpp"

using namespace text::literals;

namespace archive {

namespace {

// libxlsxwriter refused a cell, a sheet or the file: the export cannot be written.
struct WorkbookRefused {};

void check(lxw_error error) {
  if (error == LXW_NO_ERROR) return;
  // The one refusal that the document's own text causes.
  if (error == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED)
    throw std::runtime_error("a text longer than a cell holds (32767 characters)");
  throw WorkbookRefused{};
}

// Characters, not bytes, of a UTF-8 text: what a column's width counts.
std::size_t characters(std::string_view utf8_text) {
  return static_cast<std::size_t>(
      std::count_if(utf8_text.begin(), utf8_text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// A day of the calendar a spreadsheet counts (from 1900 on).
bool calendar_day(int year, int month, int day) {
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1900 || month < 1 || month > 12 || day < 1 || day > kDays[month - 1]) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month != 2 || day <= (leap ? 29 : 28);
}

// The workbook's cell formats, each made once.
struct CellFormats {
  explicit CellFormats(lxw_workbook* book) {
    header = workbook_add_format(book);
    format_set_bold(header);
    date = workbook_add_format(book);
    format_set_num_format(date, "dd.mm.yyyy");
    for (int places = 0; places < static_cast<int>(decimals.size()); ++places) {
      decimals[static_cast<std::size_t>(places)] = workbook_add_format(book);
      const std::string pattern = places == 0 ? "0" : "0." + std::string(static_cast<std::size_t>(places), '0');
      format_set_num_format(decimals[static_cast<std::size_t>(places)], pattern.c_str());
    }
  }
  lxw_format* header = nullptr;
  lxw_format* date = nullptr;
  std::array<lxw_format*, 4> decimals{};  // "0", "0.0", "0.00", "0.000"
};

// One sheet and the sheets it goes on in when full, row by row. In constant-memory mode
// a row is final once the next begins, so cells are written left to right, row after row.
class SheetSeries {
 public:
  SheetSeries(lxw_workbook* book, const CellFormats& formats, std::string name, std::vector<std::string_view> header,
              std::int64_t rows_per_sheet)
      : book_(book), formats_(formats), name_(std::move(name)), header_(std::move(header)),
        rows_per_sheet_(rows_per_sheet) {}

  // The first sheet, its header written.
  void open() { open_sheet(); }

  // Begins the next row, on a new sheet when this one is full.
  void next_row() {
    if (row_ + 1 >= rows_per_sheet_) open_sheet();
    ++row_;
  }

  void text(lxw_col_t column, const std::string& utf8_text) {
    if (utf8_text.empty()) return;
    check(worksheet_write_string(sheet_, row(), column, utf8_text.c_str(), nullptr));
    widen(column, characters(utf8_text));
  }
  void number(lxw_col_t column, const std::optional<ScaledNumber>& n) {
    if (!n) return;
    const auto places = static_cast<std::size_t>(std::clamp(n->places, 0, 3));
    check(worksheet_write_number(sheet_, row(), column, n->value(), formats_.decimals[places]));
    widen(column, n->text().size());
  }
  void whole(lxw_col_t column, std::int64_t n) { number(column, ScaledNumber{n, 0}); }
  void boolean(lxw_col_t column, bool value) {
    check(worksheet_write_boolean(sheet_, row(), column, value ? 1 : 0, nullptr));
    widen(column, 5);
  }
  // A date cell of the timestamp's day; the ISO text when it names no calendar day.
  void date(lxw_col_t column, std::string_view ts) {
    const std::string iso = iso_date(ts);
    if (iso.empty()) return;
    lxw_datetime day{};
    day.year = std::stoi(iso.substr(0, 4));
    day.month = std::stoi(iso.substr(5, 2));
    day.day = std::stoi(iso.substr(8, 2));
    if (!calendar_day(day.year, day.month, day.day)) return text(column, iso);
    check(worksheet_write_datetime(sheet_, row(), column, &day, formats_.date));
    widen(column, 10);
  }

  // Fits the last sheet; the others were fitted when they were full.
  void finish() { fit_sheet(); }

  // The sheets made, for closing their temporary files when the workbook is abandoned.
  const std::vector<lxw_worksheet*>& sheets() const { return sheets_; }

 private:
  lxw_row_t row() const { return static_cast<lxw_row_t>(row_); }

  void open_sheet() {
    if (sheet_ != nullptr) fit_sheet();
    const std::string name = sheets_.empty() ? name_ : name_ + " (" + std::to_string(sheets_.size() + 1) + ")";
    sheet_ = workbook_add_worksheet(book_, name.c_str());
    if (sheet_ == nullptr) throw WorkbookRefused{};
    sheets_.push_back(sheet_);
    row_ = 0;
    widths_.assign(header_.size(), 0);
    worksheet_freeze_panes(sheet_, 1, 0);
    for (std::size_t column = 0; column < header_.size(); ++column) {
      const std::string name_text(workbook_header(header_[column]));
      check(worksheet_write_string(sheet_, 0, static_cast<lxw_col_t>(column), name_text.c_str(), formats_.header));
      widen(static_cast<lxw_col_t>(column), characters(name_text) + 2);  // room for the filter's button
    }
  }

  void fit_sheet() {
    for (std::size_t column = 0; column < widths_.size(); ++column) {
      const double width = static_cast<double>(std::min<std::size_t>(widths_[column] + 1, 60));
      check(worksheet_set_column(sheet_, static_cast<lxw_col_t>(column), static_cast<lxw_col_t>(column), width, nullptr));
    }
    check(worksheet_autofilter(sheet_, 0, 0, row(), static_cast<lxw_col_t>(header_.size() - 1)));
  }

  void widen(lxw_col_t column, std::size_t width) {
    std::size_t& w = widths_.at(column);
    w = std::max(w, width);
  }

  lxw_workbook* book_;
  const CellFormats& formats_;
  const std::string name_;
  const std::vector<std::string_view> header_;
  const std::int64_t rows_per_sheet_;
  lxw_worksheet* sheet_ = nullptr;
  std::vector<lxw_worksheet*> sheets_;
  std::int64_t row_ = 0;
  std::vector<std::size_t> widths_;
};

std::string sheet_name(std::string_view cp1251) { return utf8(cp1251); }

class XlsxExport final : public LoadedDocumentExport {
 public:
  XlsxExport(render::DocumentKind kind, const std::filesystem::path& path, std::int64_t rows_per_sheet)
      : LoadedDocumentExport(kind), path_(path.u8string()), folder_(path.parent_path().u8string()) {
    if (folder_.empty()) folder_ = u8".";
    // The rows wait in temporary files beside the workbook, not in memory, and not in
    // a /tmp that may itself be memory.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = reinterpret_cast<char*>(folder_.data());
    book_ = workbook_new_opt(reinterpret_cast<const char*>(path_.c_str()), &options);
    if (book_ == nullptr) return;
    formats_.emplace(book_);
    const std::int64_t rows = std::max<std::int64_t>(rows_per_sheet, 2);
    documents_.emplace(book_, *formats_, sheet_name("Документи"_cp1251),
                       std::vector<std::string_view>{"number", "date", "time", "kind", "receipt_number", "cash_desk",
                                                     "z_number", "total", "cancelled"},
                       rows);
    z_reports_.emplace(book_, *formats_, sheet_name("Z-звіти"_cp1251),
                       std::vector<std::string_view>{"number", "date", "z_number", "line_type", "name", "tax_letter",
                                                     "rate", "sales", "returns", "tax_sales", "tax_returns",
                                                     "excise_rate", "excise_sales", "excise_returns"},
                       rows);
    rows_.emplace(book_, *formats_, sheet_name("Рядки"_cp1251),
                  std::vector<std::string_view>(kRowColumns.begin(), kRowColumns.end()), rows);
    // Every sheet, whatever the documents hold; the rows last, so that the sheets they
    // go on in follow them.
    try {
      documents_->open();
      z_reports_->open();
      rows_->open();
    } catch (const WorkbookRefused&) {
      abandon();
    }
  }

  ~XlsxExport() override { abandon(); }

 private:
  bool write_loaded(const ArchivedDocument& document, const journal::loaded_journal&,
                    const journal::fiscal_document& loaded, std::int32_t) override {
    if (book_ == nullptr) return false;
    try {
      const std::string_view ts = loaded.ts.text;
      const std::string kind(workbook_value(document_kind(loaded)));
      document_row(document.number, ts, kind, loaded);
      if (!loaded.is_receipt) z_report_rows(document.number, ts, render::EntryOrInitial(loaded.zreports, loaded.zreport_key));
      document_rows(loaded, document_rows_);
      for (const DocumentRow& r : document_rows_) {
        rows_->next_row();
        rows_->whole(0, document.number);
        rows_->date(1, ts);
        rows_->text(2, iso_time(ts));
        rows_->text(3, kind);
        rows_->text(4, std::string(workbook_value(r.line_type)));
        rows_->text(5, r.name);
        rows_->number(6, r.quantity);
        rows_->number(7, r.price);
        rows_->number(8, r.amount);
        rows_->text(9, r.tax_letter);
      }
      return true;
    } catch (const WorkbookRefused&) {
      return false;
    }
  }

  void document_row(std::int64_t number, std::string_view ts, const std::string& kind,
                    const journal::fiscal_document& loaded) {
    SheetSeries& sheet = *documents_;
    sheet.next_row();
    sheet.whole(0, number);
    sheet.date(1, ts);
    sheet.text(2, iso_time(ts));
    sheet.text(3, kind);
    if (loaded.is_receipt) {
      const journal::receipt& r = render::EntryOrInitial(loaded.receipts, loaded.receipt_key);
      sheet.number(4, count(r.end.NO));
      sheet.number(5, count(r.end.CS));
      sheet.number(7, amount(r.end.SM));
      sheet.boolean(8, r.end.VD == 1);
    } else {
      sheet.number(6, count(render::EntryOrInitial(loaded.zreports, loaded.zreport_key).NO));
    }
  }

  void z_report_rows(std::int64_t number, std::string_view ts, const journal::z_report& z) {
    SheetSeries& sheet = *z_reports_;
    const auto head = [&](const char* line_type) {
      sheet.next_row();
      sheet.whole(0, number);
      sheet.date(1, ts);
      sheet.number(2, count(z.NO));
      sheet.text(3, std::string(workbook_value(line_type)));
    };
    for (const auto& [key, m] : z.m_list) {
      head("payment_form");
      sheet.text(4, utf8(m.NM));
      sheet.number(7, amount(m.SMI));
      sheet.number(8, amount(m.SMO));
    }
    for (const auto& [key, t] : z.txs_list) {
      head("tax_group");
      sheet.text(5, tax_group(t.TX).letter);
      sheet.number(6, rate(t.TXPR));
      sheet.number(7, amount(t.SMI));
      sheet.number(8, amount(t.SMO));
      sheet.number(9, amount(t.TXI));
      sheet.number(10, amount(t.TXO));
      sheet.number(11, rate(t.DTPR));
      sheet.number(12, amount(t.DTI));
      sheet.number(13, amount(t.DTO));
    }
  }

  bool close() override {
    if (book_ == nullptr) return false;
    if (written_ == 0) return true;  // nothing to write: the caller tells so
    try {
      documents_->finish();
      z_reports_->finish();
      rows_->finish();
    } catch (const WorkbookRefused&) {
      return false;
    }
    // workbook_close frees the workbook whether or not it could write it.
    lxw_workbook* book = std::exchange(book_, nullptr);
    return workbook_close(book) == LXW_NO_ERROR;
  }

  // Frees a workbook that is not to be written: the rows' temporary files are closed (and
  // so gone), nothing is written.
  void abandon() {
    if (book_ == nullptr) return;
    for (const std::optional<SheetSeries>* series : {&documents_, &z_reports_, &rows_}) {
      if (!*series) continue;
      for (lxw_worksheet* sheet : (*series)->sheets())
        if (sheet->optimize_tmpfile != nullptr) {
          std::fclose(sheet->optimize_tmpfile);
          sheet->optimize_tmpfile = nullptr;
          sheet->file = nullptr;
        }
    }
    lxw_workbook_free(std::exchange(book_, nullptr));
  }

  std::u8string path_;
  std::u8string folder_;
  lxw_workbook* book_ = nullptr;
  std::optional<CellFormats> formats_;
  std::optional<SheetSeries> documents_, z_reports_, rows_;
  std::vector<DocumentRow> document_rows_;
};

}  // namespace

std::string xlsxwriter_version() { return lxw_version(); }
std::string zlib_library_version() { return zlibVersion(); }

std::unique_ptr<JournalExport> xlsx_export(render::DocumentKind kind, const std::filesystem::path& path,
                                           std::int64_t rows_per_sheet) {
  return std::make_unique<XlsxExport>(kind, path, rows_per_sheet);
}

}  // namespace archive
