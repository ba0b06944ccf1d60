#include "journal/journal_loader.hpp"

#include <string>

#include "journal/journal_errors.hpp"
#include "journal/number_conversion.hpp"

namespace journal {

namespace {

// Counters wrap instead of overflowing; no real journal comes near the limit.
void advance(std::int32_t& counter) {
  counter = static_cast<std::int32_t>(static_cast<std::uint32_t>(counter) + 1u);
}

void advance_line(check& r, std::int32_t& kind_count) {
  advance(kind_count);
  advance(r.next_position);
}

// Places the line just filed at the receipt's next position.
void place(check& r, std::int32_t kind, std::int32_t index) {
  r.sequence[r.next_position] = sequence_entry{kind, index};
}

void store_sale(check& r, sale& x, std::int32_t kind, std::int32_t index, std::int32_t code,
                std::string_view v) {
  switch (code) {
    case 0: x.N = to_number(v); place(r, kind, index); break;
    case 1: x.C = v; break;
    case 2: x.CD = v; break;
    case 3: x.NM = v; break;
    case 4: x.SM = to_number(v); break;
    case 5: x.Q = to_number(v); break;
    case 6: x.PRC = to_number(v); break;
    case 7: x.TX = v; break;
    default: break;
  }
}

void store_up_down(check& r, sale_up_down& x, std::int32_t kind, std::int32_t index,
                   std::int32_t code, std::string_view v) {
  switch (code) {
    case 0: x.TR = to_number(v); break;
    case 1: x.TY = to_number(v); break;
    case 2: x.ST = to_number(v); break;
    case 3: x.NI = to_number(v); break;
    case 4: x.TX = v; break;
    case 5: x.PR = to_number(v); break;
    case 6: x.SM = to_number(v); break;
    case 7: x.N = to_number(v); place(r, kind, index); break;
    default: break;
  }
}

void store_in_out(check& r, sale_in_out& x, std::int32_t kind, std::int32_t index,
                  std::int32_t code, std::string_view v) {
  switch (code) {
    case 0: x.N = to_number(v); place(r, kind, index); break;
    case 1: x.T = to_number(v); break;
    case 2: x.NM = v; break;
    case 3: x.SM = to_number(v); break;
    default: break;
  }
}

template <class Line>
void store_text_line(check& r, Line& x, std::int32_t kind, std::int32_t index, std::int32_t code,
                     std::string_view v) {
  switch (code) {
    case 0: x.N = to_number(v); place(r, kind, index); break;
    case 1: x.text = v; break;
    default: break;
  }
}

}  // namespace

dat& JournalLoader::document() {
  if (document_ == nullptr || document_index_ != journal_.doc_count) {
    document_index_ = journal_.doc_count;
    document_ = &journal_.document(document_index_);
  }
  return *document_;
}

check& JournalLoader::receipt() {
  dat& d = document();
  return d.receipts[d.receipt_key];
}

zvit& JournalLoader::zreport() {
  dat& d = document();
  return d.zreports[d.zreport_key];
}

void JournalLoader::LoadJournal(const dom::Node& root) {
  document_ = nullptr;  // the journal may have been cleared since a previous load
  // current is RQ after the reset, so the root's attributes go to the journal whatever
  // the root is called.
  WalkAttributes(root.attributes());
  WalkNodes(root.children());
}

void JournalLoader::WalkNodes(const dom::NodeList& list) {
  for (const dom::Node node : list) WalkNode(node);
}

void JournalLoader::WalkNode(const dom::Node& node) {
  if (node.is_text()) return;  // text between elements changes nothing
  const std::string name = node.name();
  // The document counter moves before the element it closes is counted, so a MAC
  // closes the next document's counters.
  if (name == "MAC") advance(journal_.doc_count);
  AdvanceCounters();
  state_.set_element(name);
  if (node.holds_only_text()) {
    // Only TS, L and H file their text, so nothing else is converted; a MAC's text
    // files nothing but still gives the document its mac record.
    switch (state_.current()) {
      case element::TS: StoreValue(0, node.value()); break;
      case element::MAC: journal_.mac(journal_.doc_count); break;
      case element::L:
      case element::H: StoreValue(1, node.value()); break;
      default: break;
    }
  }
  WalkAttributes(node.attributes());
  if (node.has_children()) WalkNodes(node.children());
}

void JournalLoader::WalkAttributes(const dom::AttributeList& list) {
  for (const dom::Attribute attribute : list) {
    const std::int32_t code = state_.attribute_code(attribute.name());
    StoreValue(code, attribute.value());
  }
}

void JournalLoader::AdvanceCounters() {
  switch (state_.current()) {
    case element::P: { check& r = receipt(); advance_line(r, r.p_count); break; }
    case element::CP: { check& r = receipt(); advance_line(r, r.cp_count); break; }
    case element::D: { check& r = receipt(); advance_line(r, r.d_count); break; }
    case element::S: { check& r = receipt(); advance_line(r, r.s_count); break; }
    case element::M: { check& r = receipt(); advance_line(r, r.m_count); break; }
    case element::I: { check& r = receipt(); advance_line(r, r.i_count); break; }
    case element::O: { check& r = receipt(); advance_line(r, r.o_count); break; }
    case element::L: { check& r = receipt(); advance_line(r, r.l_count); break; }
    case element::H: { check& r = receipt(); advance_line(r, r.h_count); break; }
    case element::VD: { check& r = receipt(); advance_line(r, r.vd_count); break; }
    case element::E: { check& r = receipt(); advance_line(r, r.e_count); break; }
    case element::TXS: advance(zreport().txs_count); break;
    case element::Z_M: advance(zreport().m_count); break;
    case element::IO: advance(zreport().io_count); break;
    case element::NC: advance(zreport().nc_count); break;
    case element::TX: advance(receipt().end.tx_count); break;
    default: break;  // RQ, DAT, MAC, C, Z, TS have no counter
  }
}

void JournalLoader::StoreValue(std::int32_t code, std::string_view v) {
  switch (state_.current()) {
    case element::RQ:
      if (code == 0) journal_.V = to_number(v);
      break;
    case element::DAT: {
      dat& d = document();
      switch (code) {
        case 0: d.FN = v; break;
        case 1: d.TN = v; break;
        case 2: d.ZN = v; break;
        case 3: d.DI = to_number(v); break;
        case 4: d.DT = to_number(v); break;
        case 5: d.V = to_number(v); break;
        default: break;
      }
      break;
    }
    case element::MAC: {
      journal::mac& m = journal_.mac(journal_.doc_count);
      if (code == 0) m.DI = to_number(v);
      else if (code == 1) m.NT = to_number(v);
      break;
    }
    case element::C:
      if (code == 0) {
        receipt().T = to_number(v);
        document().is_receipt = true;
      }
      break;
    case element::Z:
      if (code == 0) {
        zreport().NO = to_number(v);
        journal_.note_z_no(to_whole(v));
        document().is_receipt = false;
      }
      break;
    case element::TS:
      if (code == 0) document().ts.text = v;
      break;
    case element::P: {
      check& r = receipt();
      store_sale(r, r.p_list[r.p_count], line_kind::P, r.p_count, code, v);
      break;
    }
    case element::CP: {
      check& r = receipt();
      store_sale(r, r.cp_list[r.cp_count], line_kind::CP, r.cp_count, code, v);
      break;
    }
    case element::D: {
      check& r = receipt();
      store_up_down(r, r.d_list[r.d_count], line_kind::D, r.d_count, code, v);
      break;
    }
    case element::S: {
      check& r = receipt();
      store_up_down(r, r.s_list[r.s_count], line_kind::S, r.s_count, code, v);
      break;
    }
    case element::M: {
      check& r = receipt();
      sale_pay& x = r.m_list[r.m_count];
      switch (code) {
        case 0: x.N = to_number(v); place(r, line_kind::M, r.m_count); break;
        case 1: x.T = to_number(v); break;
        case 2: x.NM = v; break;
        case 3: x.SM = to_number(v); break;
        case 4: x.RM = to_number(v); break;
        case 5: x.RRN = v; break;
        default: break;
      }
      break;
    }
    case element::I: {
      check& r = receipt();
      store_in_out(r, r.i_list[r.i_count], line_kind::I, r.i_count, code, v);
      break;
    }
    case element::O: {
      check& r = receipt();
      store_in_out(r, r.o_list[r.o_count], line_kind::O, r.o_count, code, v);
      break;
    }
    case element::L: {
      check& r = receipt();
      store_text_line(r, r.l_list[r.l_count], line_kind::L, r.l_count, code, v);
      break;
    }
    case element::H: {
      check& r = receipt();
      store_text_line(r, r.h_list[r.h_count], line_kind::H, r.h_count, code, v);
      break;
    }
    case element::VD: {
      check& r = receipt();
      if (code == 0) {
        r.cancel.N = to_number(v);
        place(r, line_kind::VD, r.vd_count);
      } else if (code == 1) {
        r.cancel.NI = to_number(v);
      }
      break;
    }
    case element::E: {
      check& r = receipt();
      sale_end& x = r.end;
      switch (code) {
        case 0: x.N = to_number(v); place(r, line_kind::E, r.e_count); break;
        case 1:
          // Read twice: into the field, and at full precision for the receipt range.
          x.NO = to_number(v);
          journal_.note_receipt_no(to_whole(v));
          break;
        case 2: x.SM = to_number(v); break;
        case 3: x.SE = to_number(v); break;
        case 4: x.TX = v; break;
        case 5: x.TXPR = to_number(v); break;
        case 6: x.TXSM = to_number(v); break;
        case 7: x.DTPR = to_number(v); break;
        case 8: x.DTSM = to_number(v); break;
        case 9: x.TXTY = to_number(v); break;
        case 10: x.TXAL = to_number(v); break;
        case 11: x.CS = to_number(v); break;
        case 12: x.VD = to_number(v); break;
        case 13: x.TS = v; break;
        case 14: x.FN = v; break;
        default: break;
      }
      break;
    }
    case element::TXS: {
      zvit& z = zreport();
      z.has_txs = true;
      vid_tax& x = z.txs_list[z.txs_count];
      switch (code) {
        case 0: x.TX = v; break;
        case 1: x.TS = v; break;
        case 2: x.TXPR = to_number(v); break;
        case 3: x.TXI = to_number(v); break;
        case 4: x.TXO = to_number(v); break;
        case 5: x.DTPR = to_number(v); break;
        case 6: x.DTI = to_number(v); break;
        case 7: x.DTO = to_number(v); break;
        case 8: x.TXTY = to_number(v); break;
        case 9: x.TXAL = to_number(v); break;
        case 10: x.SMI = to_number(v); break;
        case 11: x.SMO = to_number(v); break;
        default: break;
      }
      break;
    }
    case element::Z_M: {
      zvit& z = zreport();
      z.has_m = true;
      vid_pay& x = z.m_list[z.m_count];
      switch (code) {
        case 0: x.T = to_number(v); break;
        case 1: x.NM = v; break;
        case 2: x.SMI = to_number(v); break;
        case 3: x.SMO = to_number(v); break;
        default: break;
      }
      break;
    }
    case element::IO: {
      zvit& z = zreport();
      z.has_io = true;
      vid_rotate& x = z.io_list[z.io_count];
      switch (code) {
        case 0: x.T = to_number(v); break;
        case 1: x.NM = v; break;
        case 2: x.SMI = to_number(v); break;
        case 3: x.SMO = to_number(v); break;
        case 4: x.SMT = to_number(v); break;
        default: break;
      }
      break;
    }
    case element::NC: {
      zvit& z = zreport();
      z.has_nc = true;
      count_check& x = z.nc_list[z.nc_count];
      if (code == 0) x.NI = to_number(v);
      else if (code == 1) x.NO = to_number(v);
      break;
    }
    case element::TX: {
      sale_end& end = receipt().end;
      end.has_tx = true;
      tx& x = end.tx_list[end.tx_count];
      switch (code) {
        case 0: x.TX = v; break;
        case 1: x.TXPR = to_number(v); break;
        case 2: x.TXSM = to_number(v); break;
        case 3: x.DTPR = to_number(v); break;
        case 4: x.DTSM = to_number(v); break;
        case 5: x.TXTY = to_number(v); break;
        case 6: x.TXAL = to_number(v); break;
        default: break;
      }
      break;
    }
    default:
      break;
  }
}

void LoadJournal(const dom::Node& root, rq& journal, control& state) {
  JournalLoader(journal, state).LoadJournal(root);
}

void LoadJournalText(std::string_view text, rq& journal, control& state) {
  dom::JournalReader reader(text);
  // A text that is not well-formed files nothing, as when it is parsed whole first: the
  // journal (emptied by the caller) is put back as it was.
  const rq kept{journal.V, {}, {}, 0, journal.receipt_no_min, journal.receipt_no_max, journal.z_no_min,
                journal.z_no_max};
  const auto put_back = [&] {
    journal.clear();
    journal.V = kept.V;
    journal.receipt_no_min = kept.receipt_no_min;
    journal.receipt_no_max = kept.receipt_no_max;
    journal.z_no_min = kept.z_no_min;
    journal.z_no_max = kept.z_no_max;
  };
  JournalLoader loader(journal, state);
  try {
    loader.WalkAttributes(reader.root().attributes());
    while (const std::optional<dom::Node> child = reader.next_child()) loader.WalkNode(*child);
  } catch (const ParseError&) {
    put_back();
    throw;
  } catch (const ConversionError&) {
    // The parse failure comes first when the rest of the text has one.
    try {
      reader.check_rest();
    } catch (const ParseError&) {
      put_back();
      throw;
    }
    throw;
  }
}

}  // namespace journal
