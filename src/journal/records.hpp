// The records that hold one fiscal document after loading. Each record mirrors one
// element of the journal XML: a field per attribute, named like the attribute, plus the
// links to its children and the counters the loader advances. Records are plain values:
// a parent owns its children, and copying a record copies all it owns.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace journal {

// Children of one kind, keyed by the kind's counter at the time the element was read.
// Reading a missing index creates the record with its initial values (map::operator[]);
// the loader and the renderers rely on that.
template <class Record>
using record_list = std::map<std::int32_t, Record>;

// Kinds of a receipt's line sequence.
namespace line_kind {
inline constexpr std::int32_t none = 0;  // a position no line element filled
inline constexpr std::int32_t P = 1;
inline constexpr std::int32_t CP = 2;
inline constexpr std::int32_t D = 3;
inline constexpr std::int32_t S = 4;
inline constexpr std::int32_t M = 5;
inline constexpr std::int32_t I = 6;
inline constexpr std::int32_t O = 7;
inline constexpr std::int32_t L = 8;
inline constexpr std::int32_t H = 9;
inline constexpr std::int32_t VD = 10;
inline constexpr std::int32_t E = 11;
}  // namespace line_kind

// One position of a receipt: which list holds the line, and at which index.
struct sequence_entry {
  std::int32_t kind = line_kind::none;
  std::int32_t index = 0;
  bool operator==(const sequence_entry&) const = default;
};

// The document's date and time, 14 digits YYYYMMDDhhmmss.
struct ts {
  std::string text;
};

struct mac {
  float DI = 0;
  float NT = 0;
};

// An item line, P or CP.
struct sale {
  float N = 0;
  std::string C;
  std::string CD;
  std::string NM;
  float SM = 0;   // hundredths
  float Q = 0;    // thousandths; 0 for a line without quantity
  float PRC = 0;  // hundredths
  std::string TX;
};

// A discount (D) or markup (S) line.
struct sale_up_down {
  float N = 0;
  float TR = 0;
  float TY = 0;
  float ST = 0;
  float NI = 0;
  std::string TX;
  float PR = 0;  // percent
  float SM = 0;  // hundredths
};

// A payment line of a receipt (M).
struct sale_pay {
  float N = 0;
  float T = 0;
  float SM = 0;
  float RM = 0;
  std::string NM;
  std::string RRN;
};

// A cash deposit (I) or withdrawal (O).
struct sale_in_out {
  float N = 0;
  float T = 0;
  std::string NM;
  float SM = 0;
};

struct sale_comment {
  float N = 0;
  std::string text;
};

struct sale_serv_info {
  float N = 0;
  std::string text;
};

struct sale_cancel {
  float N = 0;
  float NI = 0;
};

// One tax group of a receipt's end.
struct tx {
  std::string TX = " ";
  float TXPR = 0;
  float TXSM = 0;
  float DTPR = 0;
  float DTSM = 0;
  float TXTY = 0;
  float TXAL = 0;
};

// The end of a receipt. A receipt without E keeps these values and the renderer prints
// them, hence the "0" texts.
struct sale_end {
  bool has_tx = false;
  float N = 0;
  float NO = 0;
  float SM = 0;
  float SE = 0;
  std::string TX = "0";
  std::string TS = "0";
  std::string FN = "0";
  float TXPR = 0;
  float TXSM = 0;
  float DTPR = 0;
  float DTSM = 0;
  float TXTY = 0;
  float TXAL = 0;
  float CS = 0;
  float VD = 0;
  record_list<tx> tx_list;
  std::int32_t tx_count = 0;
};

// A receipt (C).
struct receipt {
  float T = 0;  // 0 sale, 1 return, 2 service receipt
  record_list<sale> p_list;
  record_list<sale> cp_list;
  record_list<sale_up_down> d_list;
  record_list<sale_up_down> s_list;
  record_list<sale_pay> m_list;
  record_list<sale_in_out> i_list;
  record_list<sale_in_out> o_list;
  record_list<sale_comment> l_list;
  record_list<sale_serv_info> h_list;
  sale_cancel cancel;
  sale_end end;
  // Position (from 1) to line; reading a position nobody filled adds (none, 0).
  std::map<std::int32_t, sequence_entry> sequence;
  std::int32_t p_count = 0;
  std::int32_t cp_count = 0;
  std::int32_t d_count = 0;
  std::int32_t s_count = 0;
  std::int32_t m_count = 0;
  std::int32_t i_count = 0;
  std::int32_t o_count = 0;
  std::int32_t l_count = 0;
  std::int32_t h_count = 0;
  std::int32_t vd_count = 0;
  std::int32_t e_count = 0;
  std::int32_t next_position = 1;

  // The number of line elements read; after loading, positions 1..line_total are filled.
  std::int32_t line_total() const {
    // Summed without overflow trouble; a journal never comes near the limit.
    const std::uint32_t sum = static_cast<std::uint32_t>(p_count) + static_cast<std::uint32_t>(cp_count) +
                              static_cast<std::uint32_t>(d_count) + static_cast<std::uint32_t>(s_count) +
                              static_cast<std::uint32_t>(m_count) + static_cast<std::uint32_t>(i_count) +
                              static_cast<std::uint32_t>(o_count) + static_cast<std::uint32_t>(l_count) +
                              static_cast<std::uint32_t>(h_count) + static_cast<std::uint32_t>(vd_count) +
                              static_cast<std::uint32_t>(e_count);
    return static_cast<std::int32_t>(sum);
  }
};

// Totals of one tax group of a Z-report (TXS).
struct z_tax_total {
  std::string TX;
  std::string TS;  // YYYYMMDD
  float TXPR = 0;
  float TXI = 0;
  float TXO = 0;
  float DTPR = 0;
  float DTI = 0;
  float DTO = 0;
  float TXTY = 0;
  float TXAL = 0;
  float SMI = 0;
  float SMO = 0;
};

// Totals of one payment form of a Z-report (M inside Z).
struct z_payment_total {
  float T = 0;
  std::string NM;
  float SMI = 0;
  float SMO = 0;
};

// Cash movements of one payment form (IO).
struct z_cash_movement {
  float T = 0;
  std::string NM;
  float SMI = 0;
  float SMO = 0;
  float SMT = 0;
};

// Receipt counts (NC).
struct z_receipt_counts {
  float NI = 0;
  float NO = 0;
};

// A Z-report (Z). The has_ flags tell the renderer whether a kind occurs at all.
struct z_report {
  float NO = 0;
  record_list<z_tax_total> txs_list;
  record_list<z_payment_total> m_list;
  record_list<z_cash_movement> io_list;
  record_list<z_receipt_counts> nc_list;
  std::int32_t txs_count = 0;
  std::int32_t m_count = 0;
  std::int32_t io_count = 0;
  std::int32_t nc_count = 0;
  bool has_txs = false;
  bool has_m = false;
  bool has_io = false;
  bool has_nc = false;
};

// One document (DAT): a receipt under receipt_key or a Z-report under zreport_key.
struct fiscal_document {
  bool is_receipt = true;
  std::string FN;
  std::string TN;
  std::string ZN;
  float DI = 0;
  float DT = 0;
  float V = 0;
  journal::ts ts;
  record_list<receipt> receipts;
  record_list<z_report> zreports;
  std::int32_t receipt_key = 0;
  std::int32_t zreport_key = 0;
};

}  // namespace journal
