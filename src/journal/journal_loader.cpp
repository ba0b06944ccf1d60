// SPDX-License-Identifier: GPL-3.0-or-later
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

void advance_line(receipt& r, std::int32_t& kind_count) {
  advance(kind_count);
  advance(r.next_position);
}

// Places the line just filed at the receipt's next position.
void place(receipt& r, std::int32_t kind, std::int32_t index) {
  r.sequence[r.next_position] = sequence_entry{kind, index};
}

void store_sale(text_store& texts, receipt& r, sale& x, std::int32_t kind, std::int32_t index, std::int32_t code,
                std::string_view v) {
  switch (code) {
    case attribute::sale::N: x.N = to_number(v); place(r, kind, index); break;
    case attribute::sale::C: x.C = texts.keep(v); break;
    case attribute::sale::CD: x.CD = texts.keep(v); break;
    case attribute::sale::NM: x.NM = texts.keep(v); break;
    case attribute::sale::SM: x.SM = to_exact(v); break;
    case attribute::sale::Q: x.Q = to_exact(v); break;
    case attribute::sale::PRC: x.PRC = to_exact(v); break;
    case attribute::sale::TX: x.TX = texts.keep(v); break;
    default: break;
  }
}

void store_up_down(text_store& texts, receipt& r, sale_up_down& x, std::int32_t kind, std::int32_t index,
                   std::int32_t code, std::string_view v) {
  switch (code) {
    case attribute::adjustment::TR: x.TR = to_number(v); break;
    case attribute::adjustment::TY: x.TY = to_number(v); break;
    case attribute::adjustment::ST: x.ST = to_number(v); break;
    case attribute::adjustment::NI: x.NI = to_number(v); break;
    case attribute::adjustment::TX: x.TX = texts.keep(v); break;
    case attribute::adjustment::PR: x.PR = to_number(v); break;
    case attribute::adjustment::SM: x.SM = to_exact(v); break;
    case attribute::adjustment::N: x.N = to_number(v); place(r, kind, index); break;
    default: break;
  }
}

void store_in_out(text_store& texts, receipt& r, sale_in_out& x, std::int32_t kind, std::int32_t index,
                  std::int32_t code, std::string_view v) {
  switch (code) {
    case attribute::cash::N: x.N = to_number(v); place(r, kind, index); break;
    case attribute::cash::T: x.T = to_number(v); break;
    case attribute::cash::NM: x.NM = texts.keep(v); break;
    case attribute::cash::SM: x.SM = to_exact(v); break;
    default: break;
  }
}

template <class Line>
void store_text_line(text_store& texts, receipt& r, Line& x, std::int32_t kind, std::int32_t index, std::int32_t code,
                     std::string_view v) {
  switch (code) {
    case attribute::text_line::N: x.N = to_number(v); place(r, kind, index); break;
    case attribute::text_line::text: x.text = texts.keep(v); break;
    default: break;
  }
}

}  // namespace

fiscal_document& JournalLoader::document() {
  if (document_ == nullptr || document_index_ != journal_.doc_count) {
    document_index_ = journal_.doc_count;
    document_ = &journal_.document(document_index_);
  }
  return *document_;
}

receipt& JournalLoader::current_receipt() {
  fiscal_document& d = document();
  return d.receipts[d.receipt_key];
}

z_report& JournalLoader::current_z_report() {
  fiscal_document& d = document();
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

void JournalLoader::StartNode(std::int32_t code_of_name) {
  // The document counter moves before the element it closes is counted, so a MAC
  // closes the next document's counters.
  if (code_of_name == element::MAC) {
    advance(journal_.doc_count);
    if (on_closed_ != nullptr) CloseDocument();
  }
  AdvanceCounters();
  state_.set_element_code(code_of_name);
}

namespace {

std::size_t slot_of(const char* name, std::int32_t element, std::size_t slots) {
  const std::uint64_t place =
      (reinterpret_cast<std::uintptr_t>(name) * 31 + static_cast<std::uint64_t>(element)) * 0x9E3779B97F4A7C15u;
  return static_cast<std::size_t>(place >> 32) & (slots - 1);
}

}  // namespace

template <class TextOf>
void JournalLoader::StoreOnlyText(const TextOf& text_of) {
  // Only TS, L and H file their text, so nothing else is converted; a MAC's text files
  // nothing but still gives the document its mac record.
  switch (state_.current()) {
    case element::TS: StoreValue(attribute::TS::text, text_of()); break;
    case element::MAC: journal_.mac(journal_.doc_count); break;
    case element::L:
    case element::H: StoreValue(attribute::text_line::text, text_of()); break;
    default: break;
  }
}

void JournalLoader::WalkNode(const dom::Node& node) {
  if (node.is_text()) return;  // text between elements changes nothing
  StartNode(state_.names().element_code(node.name(name_scratch_)));
  if (node.holds_only_text()) StoreOnlyText([&] { return node.value(value_scratch_); });
  WalkAttributes(node.attributes());
  if (node.has_children()) WalkNodes(node.children());
}

void JournalLoader::WalkNode(const dom::StreamedNode& node) {
  CodeSlot& slot = element_codes_[slot_of(node.name.data(), 0, element_codes_.size())];
  if (slot.name != node.name.data()) slot = CodeSlot{node.name.data(), 0, state_.names().element_code(node.name)};
  StartNode(slot.code);
  if (node.holds_only_text) StoreOnlyText([&] { return node.text; });
  WalkAttributes(node.attributes);
}

void JournalLoader::CloseDocument() {
  // Nothing files into a document once the counter has left it.
  const auto index = static_cast<std::int32_t>(static_cast<std::uint32_t>(journal_.doc_count) - 1u);
  (*on_closed_)(index);
  journal_.release_documents_below(journal_.doc_count);
  document_ = nullptr;
}

void JournalLoader::WalkAttributes(const dom::AttributeList& list) {
  for (const dom::Attribute attribute : list) {
    const std::int32_t code = state_.attribute_code(attribute.name(name_scratch_));
    StoreValue(code, attribute.value(value_scratch_));
  }
}

void JournalLoader::WalkAttributes(std::span<const dom::StreamedAttribute> list) {
  const std::int32_t element = state_.current();
  for (const dom::StreamedAttribute& attribute : list) {
    CodeSlot& slot = attribute_codes_[slot_of(attribute.name.data(), element, attribute_codes_.size())];
    if (slot.name != attribute.name.data() || slot.element != element)
      slot = CodeSlot{attribute.name.data(), element, state_.attribute_code(attribute.name)};
    StoreValue(slot.code, attribute.value);
  }
}

void JournalLoader::AdvanceCounters() {
  switch (state_.current()) {
    case element::P: { receipt& r = current_receipt(); advance_line(r, r.p_count); break; }
    case element::CP: { receipt& r = current_receipt(); advance_line(r, r.cp_count); break; }
    case element::D: { receipt& r = current_receipt(); advance_line(r, r.d_count); break; }
    case element::S: { receipt& r = current_receipt(); advance_line(r, r.s_count); break; }
    case element::M: { receipt& r = current_receipt(); advance_line(r, r.m_count); break; }
    case element::I: { receipt& r = current_receipt(); advance_line(r, r.i_count); break; }
    case element::O: { receipt& r = current_receipt(); advance_line(r, r.o_count); break; }
    case element::L: { receipt& r = current_receipt(); advance_line(r, r.l_count); break; }
    case element::H: { receipt& r = current_receipt(); advance_line(r, r.h_count); break; }
    case element::VD: { receipt& r = current_receipt(); advance_line(r, r.vd_count); break; }
    case element::E: { receipt& r = current_receipt(); advance_line(r, r.e_count); break; }
    case element::TXS: advance(current_z_report().txs_count); break;
    case element::Z_M: advance(current_z_report().m_count); break;
    case element::IO: advance(current_z_report().io_count); break;
    case element::NC: advance(current_z_report().nc_count); break;
    case element::TX: advance(current_receipt().end.tx_count); break;
    default: break;  // RQ, DAT, MAC, C, Z, TS have no counter
  }
}

void JournalLoader::StoreValue(std::int32_t code, std::string_view v) {
  text_store& texts = journal_.texts;
  switch (state_.current()) {
    case element::RQ:
      if (code == attribute::RQ::V) journal_.V = to_number(v);
      break;
    case element::DAT: {
      fiscal_document& d = document();
      switch (code) {
        case attribute::DAT::FN: d.FN = texts.keep(v); break;
        case attribute::DAT::TN: d.TN = texts.keep(v); break;
        case attribute::DAT::ZN: d.ZN = texts.keep(v); break;
        case attribute::DAT::DI: d.DI = to_number(v); break;
        case attribute::DAT::DT: d.DT = to_number(v); break;
        case attribute::DAT::V: d.V = to_number(v); break;
        default: break;
      }
      break;
    }
    case element::MAC: {
      journal::mac& m = journal_.mac(journal_.doc_count);
      if (code == attribute::MAC::DI) m.DI = to_number(v);
      else if (code == attribute::MAC::NT) m.NT = to_number(v);
      break;
    }
    case element::C:
      if (code == attribute::C::T) {
        current_receipt().T = to_number(v);
        document().is_receipt = true;
      }
      break;
    case element::Z:
      if (code == attribute::Z::NO) {
        current_z_report().NO = to_number(v);
        journal_.note_z_no(to_whole(v));
        document().is_receipt = false;
      }
      break;
    case element::TS:
      if (code == attribute::TS::text) document().ts.text = texts.keep(v);
      break;
    case element::P: {
      receipt& r = current_receipt();
      store_sale(texts, r, r.p_list[r.p_count], line_kind::P, r.p_count, code, v);
      break;
    }
    case element::CP: {
      receipt& r = current_receipt();
      store_sale(texts, r, r.cp_list[r.cp_count], line_kind::CP, r.cp_count, code, v);
      break;
    }
    case element::D: {
      receipt& r = current_receipt();
      store_up_down(texts, r, r.d_list[r.d_count], line_kind::D, r.d_count, code, v);
      break;
    }
    case element::S: {
      receipt& r = current_receipt();
      store_up_down(texts, r, r.s_list[r.s_count], line_kind::S, r.s_count, code, v);
      break;
    }
    case element::M: {
      receipt& r = current_receipt();
      sale_pay& x = r.m_list[r.m_count];
      switch (code) {
        case attribute::payment::N: x.N = to_number(v); place(r, line_kind::M, r.m_count); break;
        case attribute::payment::T: x.T = to_number(v); break;
        case attribute::payment::NM: x.NM = texts.keep(v); break;
        case attribute::payment::SM: x.SM = to_exact(v); break;
        case attribute::payment::RM: x.RM = to_exact(v); break;
        case attribute::payment::RRN: x.RRN = texts.keep(v); break;
        default: break;
      }
      break;
    }
    case element::I: {
      receipt& r = current_receipt();
      store_in_out(texts, r, r.i_list[r.i_count], line_kind::I, r.i_count, code, v);
      break;
    }
    case element::O: {
      receipt& r = current_receipt();
      store_in_out(texts, r, r.o_list[r.o_count], line_kind::O, r.o_count, code, v);
      break;
    }
    case element::L: {
      receipt& r = current_receipt();
      store_text_line(texts, r, r.l_list[r.l_count], line_kind::L, r.l_count, code, v);
      break;
    }
    case element::H: {
      receipt& r = current_receipt();
      store_text_line(texts, r, r.h_list[r.h_count], line_kind::H, r.h_count, code, v);
      break;
    }
    case element::VD: {
      receipt& r = current_receipt();
      if (code == attribute::VD::N) {
        r.cancel.N = to_number(v);
        place(r, line_kind::VD, r.vd_count);
      } else if (code == attribute::VD::NI) {
        r.cancel.NI = to_number(v);
      }
      break;
    }
    case element::E: {
      receipt& r = current_receipt();
      sale_end& x = r.end;
      switch (code) {
        case attribute::E::N: x.N = to_number(v); place(r, line_kind::E, r.e_count); break;
        case attribute::E::NO:
          // Read twice: into the field, and at full precision for the receipt range.
          x.NO = to_number(v);
          journal_.note_receipt_no(to_whole(v));
          break;
        case attribute::E::SM: x.SM = to_exact(v); break;
        case attribute::E::SE: x.SE = to_exact(v); break;
        case attribute::E::TX: x.TX = texts.keep(v); break;
        case attribute::E::TXPR: x.TXPR = to_number(v); break;
        case attribute::E::TXSM: x.TXSM = to_exact(v); break;
        case attribute::E::DTPR: x.DTPR = to_number(v); break;
        case attribute::E::DTSM: x.DTSM = to_exact(v); break;
        case attribute::E::TXTY: x.TXTY = to_number(v); break;
        case attribute::E::TXAL: x.TXAL = to_number(v); break;
        case attribute::E::CS: x.CS = to_number(v); break;
        case attribute::E::VD: x.VD = to_number(v); break;
        case attribute::E::TS: x.TS = texts.keep(v); break;
        case attribute::E::FN: x.FN = texts.keep(v); break;
        default: break;
      }
      break;
    }
    case element::TXS: {
      z_report& z = current_z_report();
      z.has_txs = true;
      z_tax_total& x = z.txs_list[z.txs_count];
      switch (code) {
        case attribute::TXS::TX: x.TX = texts.keep(v); break;
        case attribute::TXS::TS: x.TS = texts.keep(v); break;
        case attribute::TXS::TXPR: x.TXPR = to_number(v); break;
        case attribute::TXS::TXI: x.TXI = to_exact(v); break;
        case attribute::TXS::TXO: x.TXO = to_exact(v); break;
        case attribute::TXS::DTPR: x.DTPR = to_number(v); break;
        case attribute::TXS::DTI: x.DTI = to_exact(v); break;
        case attribute::TXS::DTO: x.DTO = to_exact(v); break;
        case attribute::TXS::TXTY: x.TXTY = to_number(v); break;
        case attribute::TXS::TXAL: x.TXAL = to_number(v); break;
        case attribute::TXS::SMI: x.SMI = to_exact(v); break;
        case attribute::TXS::SMO: x.SMO = to_exact(v); break;
        default: break;
      }
      break;
    }
    case element::Z_M: {
      z_report& z = current_z_report();
      z.has_m = true;
      z_payment_total& x = z.m_list[z.m_count];
      switch (code) {
        case attribute::Z_M::T: x.T = to_number(v); break;
        case attribute::Z_M::NM: x.NM = texts.keep(v); break;
        case attribute::Z_M::SMI: x.SMI = to_exact(v); break;
        case attribute::Z_M::SMO: x.SMO = to_exact(v); break;
        default: break;
      }
      break;
    }
    case element::IO: {
      z_report& z = current_z_report();
      z.has_io = true;
      z_cash_movement& x = z.io_list[z.io_count];
      switch (code) {
        case attribute::IO::T: x.T = to_number(v); break;
        case attribute::IO::NM: x.NM = texts.keep(v); break;
        case attribute::IO::SMI: x.SMI = to_exact(v); break;
        case attribute::IO::SMO: x.SMO = to_exact(v); break;
        case attribute::IO::SMT: x.SMT = to_exact(v); break;
        default: break;
      }
      break;
    }
    case element::NC: {
      z_report& z = current_z_report();
      z.has_nc = true;
      z_receipt_counts& x = z.nc_list[z.nc_count];
      if (code == attribute::NC::NI) x.NI = to_number(v);
      else if (code == attribute::NC::NO) x.NO = to_number(v);
      break;
    }
    case element::TX: {
      sale_end& end = current_receipt().end;
      end.has_tx = true;
      tx& x = end.tx_list[end.tx_count];
      switch (code) {
        case attribute::TX::TX: x.TX = texts.keep(v); break;
        case attribute::TX::TXPR: x.TXPR = to_number(v); break;
        case attribute::TX::TXSM: x.TXSM = to_exact(v); break;
        case attribute::TX::DTPR: x.DTPR = to_number(v); break;
        case attribute::TX::DTSM: x.DTSM = to_exact(v); break;
        case attribute::TX::TXTY: x.TXTY = to_number(v); break;
        case attribute::TX::TXAL: x.TXAL = to_number(v); break;
        default: break;
      }
      break;
    }
    default:
      break;
  }
}

void LoadJournal(const dom::Node& root, loaded_journal& journal, loader_state& state) {
  JournalLoader(journal, state).LoadJournal(root);
}

void LoadJournalText(std::string_view text, loaded_journal& journal, loader_state& state) {
  LoadJournalText(text, journal, state, nullptr);
}

namespace {

void LoadFromReader(dom::JournalReader& reader, loaded_journal& journal, loader_state& state,
                    const document_closed& on_closed) {
  // A text that is not well-formed files nothing, as when it is parsed whole first: the
  // journal (emptied by the caller) is put back as it was.
  const float kept_V = journal.V;
  const std::int32_t kept_ranges[] = {journal.receipt_no_min, journal.receipt_no_max, journal.z_no_min,
                                      journal.z_no_max};
  const auto put_back = [&] {
    journal.clear();
    journal.V = kept_V;
    journal.receipt_no_min = kept_ranges[0];
    journal.receipt_no_max = kept_ranges[1];
    journal.z_no_min = kept_ranges[2];
    journal.z_no_max = kept_ranges[3];
  };
  JournalLoader loader(journal, state);
  if (on_closed) loader.NotifyClosedDocuments(on_closed);
  try {
    loader.WalkAttributes(reader.root_attributes());
    while (const std::optional<std::span<const dom::StreamedNode>> child = reader.next_child())
      for (const dom::StreamedNode& node : *child) loader.WalkNode(node);
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

}  // namespace

void LoadJournalText(std::string_view text, loaded_journal& journal, loader_state& state,
                     const document_closed& on_closed) {
  dom::JournalReader reader(text);
  LoadFromReader(reader, journal, state, on_closed);
}

void LoadJournalText(std::span<const std::string> lines, loaded_journal& journal, loader_state& state,
                     const document_closed& on_closed) {
  dom::JournalReader reader(lines);
  LoadFromReader(reader, journal, state, on_closed);
}

}  // namespace journal
