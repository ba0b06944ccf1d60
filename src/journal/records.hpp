// SPDX-License-Identifier: GPL-3.0-or-later
// The records that hold one fiscal document after loading. Each record mirrors one
// element of the journal XML: a field per attribute, named like the attribute, plus the
// links to its children and the counters the loader advances. Records are small values:
// numbers are held as numbers, texts as views into the journal's text store
// (loaded_journal::texts), and children in flat lists indexed by their counter, so a
// document costs a few allocations rather than one per record and field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace journal {

// A text of a record: a view into storage that outlives the record (the journal's text
// store, or a literal for the initial values). Records copy it as a view.
class text_ref {
 public:
  constexpr text_ref() = default;
  template <std::size_t N>
  constexpr text_ref(const char (&literal)[N]) : data_(literal), size_(N - 1) {}  // NOLINT: literals read as texts
  // Only for storage that outlives every record holding the view.
  static constexpr text_ref of_stored(std::string_view stored) {
    text_ref t;
    t.data_ = stored.data();
    t.size_ = static_cast<std::uint32_t>(stored.size());
    return t;
  }

  constexpr operator std::string_view() const { return {data_, size_}; }  // NOLINT: read as a text everywhere
  constexpr std::string_view view() const { return {data_, size_}; }
  constexpr bool empty() const { return size_ == 0; }
  constexpr std::size_t size() const { return size_; }

  friend bool operator==(const text_ref& a, std::string_view b) { return a.view() == b; }
  friend std::ostream& operator<<(std::ostream& out, const text_ref& t) { return out << t.view(); }

 private:
  const char* data_ = "";
  std::uint32_t size_ = 0;
};

// Stable storage for the texts of a journal: values are copied into blocks that never
// move, so views stay valid while the store lives and until reset().
class text_store {
 public:
  text_ref keep(std::string_view value);
  // Drops every text; the first block stays for reuse.
  void reset();
  std::size_t bytes_held() const;

 private:
  static constexpr std::size_t kBlock = 64 * 1024;
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::vector<std::size_t> block_sizes_;
  std::size_t used_ = 0;  // in the last block
};

// Children of one kind, keyed by the kind's counter at the time the element was read,
// held in one vector from the lowest key kept. Reading a missing key creates the record
// with its initial values and counts it as present (as a map's operator[] would); the
// loader and the renderers rely on that. Walking the list visits present keys in order.
template <class Record>
class record_list {
  struct slot {
    Record value{};
    bool present = false;
  };

 public:
  struct entry {
    std::int32_t first;
    Record& second;
  };
  struct const_entry {
    std::int32_t first;
    const Record& second;
  };

  template <class Entry, class Slots>
  class basic_iterator {
   public:
    using iterator_category = std::bidirectional_iterator_tag;
    using value_type = Entry;
    using difference_type = std::ptrdiff_t;
    using reference = Entry;
    struct arrow {
      Entry e;
      const Entry* operator->() const { return &e; }
    };
    using pointer = arrow;

    basic_iterator() = default;
    basic_iterator(Slots* slots, std::int32_t base, std::size_t at) : slots_(slots), base_(base), at_(at) {
      skip_forward();
    }
    Entry operator*() const {
      return Entry{static_cast<std::int32_t>(base_ + static_cast<std::int64_t>(at_)), (*slots_)[at_].value};
    }
    arrow operator->() const { return arrow{**this}; }
    basic_iterator& operator++() {
      ++at_;
      skip_forward();
      return *this;
    }
    basic_iterator operator++(int) {
      basic_iterator old = *this;
      ++*this;
      return old;
    }
    basic_iterator& operator--() {
      do --at_;
      while (!(*slots_)[at_].present);
      return *this;
    }
    basic_iterator operator--(int) {
      basic_iterator old = *this;
      --*this;
      return old;
    }
    bool operator==(const basic_iterator& other) const { return at_ == other.at_; }

   private:
    void skip_forward() {
      while (at_ < slots_->size() && !(*slots_)[at_].present) ++at_;
    }
    Slots* slots_ = nullptr;
    std::int32_t base_ = 0;
    std::size_t at_ = 0;
  };
  using iterator = basic_iterator<entry, std::vector<slot>>;
  using const_iterator = basic_iterator<const_entry, const std::vector<slot>>;

  // Keys only grow by one per element read, so the list never holds more slots than
  // the text has elements.
  Record& operator[](std::int32_t key) {
    if (slots_.empty() && key < base_) base_ = key;
    if (key < base_) throw std::out_of_range("record key below the records kept");
    const auto at = static_cast<std::size_t>(static_cast<std::int64_t>(key) - base_);
    if (at >= slots_.size()) slots_.resize(at + 1);
    slot& s = slots_[at];
    if (!s.present) {
      s.present = true;
      ++count_;
    }
    return s.value;
  }

  // The record under key, or nullptr when none is present.
  const Record* find(std::int32_t key) const {
    if (key < base_) return nullptr;
    const auto at = static_cast<std::size_t>(static_cast<std::int64_t>(key) - base_);
    return at < slots_.size() && slots_[at].present ? &slots_[at].value : nullptr;
  }
  const Record& at(std::int32_t key) const {
    const Record* found = find(key);
    if (found == nullptr) throw std::out_of_range("no record under that key");
    return *found;
  }
  std::size_t count(std::int32_t key) const { return find(key) != nullptr ? 1 : 0; }
  std::size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }

  // Empties the list; the vector keeps its room for the next records.
  void clear() {
    slots_.clear();
    count_ = 0;
    base_ = 0;
  }
  // Drops every record below key; later keys must be at least key.
  void drop_below(std::int32_t key) {
    if (key <= base_) return;
    const auto n = static_cast<std::size_t>(static_cast<std::int64_t>(key) - base_);
    if (n >= slots_.size()) {
      slots_.clear();
    } else {
      for (std::size_t i = 0; i < n; ++i) count_ -= slots_[i].present ? 1 : 0;
      slots_.erase(slots_.begin(), slots_.begin() + static_cast<std::ptrdiff_t>(n));
    }
    if (slots_.empty()) count_ = 0;
    base_ = key;
  }

  iterator begin() { return iterator(&slots_, base_, 0); }
  iterator end() { return iterator(&slots_, base_, slots_.size()); }
  const_iterator begin() const { return const_iterator(&slots_, base_, 0); }
  const_iterator end() const { return const_iterator(&slots_, base_, slots_.size()); }

 private:
  std::vector<slot> slots_;
  std::int32_t base_ = 0;
  std::size_t count_ = 0;
};

// A number of the journal text that counts money or goods (hundredths, thousandths): the
// nearest single, which the renderers read as the register's own program does, and the
// text's own whole number, which sums and exports read: a single is exact only up to
// 16,777,216, a tape's totals go far beyond.
struct exact_number {
  float value = 0;
  std::int64_t whole = 0;

  constexpr exact_number() = default;
  // A value given as a single (initial values, tests): its whole number is the nearest.
  constexpr exact_number(float v) : value(v), whole(nearest_whole(v)) {}  // NOLINT: written as a single too
  constexpr exact_number(float v, std::int64_t w) : value(v), whole(w) {}
  constexpr operator float() const { return value; }  // NOLINT: the renderers read the single

 private:
  static constexpr std::int64_t nearest_whole(float v) {
    if (!(v > -9.2e18f && v < 9.2e18f)) return v > 0 ? INT64_MAX : v < 0 ? INT64_MIN : 0;
    return v >= 0 ? static_cast<std::int64_t>(static_cast<double>(v) + 0.5)
                  : -static_cast<std::int64_t>(0.5 - static_cast<double>(v));
  }
};

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
  text_ref text;
};

struct mac {
  float DI = 0;
  float NT = 0;
};

// An item line, P or CP.
struct sale {
  float N = 0;
  text_ref C;
  text_ref CD;
  text_ref NM;
  exact_number SM = 0;   // hundredths
  exact_number Q = 0;    // thousandths; 0 for a line without quantity
  exact_number PRC = 0;  // hundredths
  text_ref TX;
};

// A discount (D) or markup (S) line.
struct sale_up_down {
  float N = 0;
  float TR = 0;
  float TY = 0;
  float ST = 0;
  float NI = 0;
  text_ref TX;
  float PR = 0;  // percent
  exact_number SM = 0;  // hundredths
};

// A payment line of a receipt (M).
struct sale_pay {
  float N = 0;
  float T = 0;
  exact_number SM = 0;
  exact_number RM = 0;
  text_ref NM;
  text_ref RRN;
};

// A cash deposit (I) or withdrawal (O).
struct sale_in_out {
  float N = 0;
  float T = 0;
  text_ref NM;
  exact_number SM = 0;
};

struct sale_comment {
  float N = 0;
  text_ref text;
};

struct sale_serv_info {
  float N = 0;
  text_ref text;
};

struct sale_cancel {
  float N = 0;
  float NI = 0;
};

// One tax group of a receipt's end.
struct tx {
  text_ref TX = " ";
  float TXPR = 0;
  exact_number TXSM = 0;
  float DTPR = 0;
  exact_number DTSM = 0;
  float TXTY = 0;
  float TXAL = 0;
};

// The end of a receipt. A receipt without E keeps these values and the renderer prints
// them, hence the "0" texts.
struct sale_end {
  bool has_tx = false;
  float N = 0;
  float NO = 0;
  exact_number SM = 0;
  exact_number SE = 0;
  text_ref TX = "0";
  text_ref TS = "0";
  text_ref FN = "0";
  float TXPR = 0;
  exact_number TXSM = 0;
  float DTPR = 0;
  exact_number DTSM = 0;
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
  record_list<sequence_entry> sequence;
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
  text_ref TX;
  text_ref TS;  // YYYYMMDD
  float TXPR = 0;
  exact_number TXI = 0;
  exact_number TXO = 0;
  float DTPR = 0;
  exact_number DTI = 0;
  exact_number DTO = 0;
  float TXTY = 0;
  float TXAL = 0;
  exact_number SMI = 0;
  exact_number SMO = 0;
};

// Totals of one payment form of a Z-report (M inside Z).
struct z_payment_total {
  float T = 0;
  text_ref NM;
  exact_number SMI = 0;
  exact_number SMO = 0;
};

// Cash movements of one payment form (IO).
struct z_cash_movement {
  float T = 0;
  text_ref NM;
  exact_number SMI = 0;
  exact_number SMO = 0;
  exact_number SMT = 0;
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
  text_ref FN;
  text_ref TN;
  text_ref ZN;
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
