// SPDX-License-Identifier: GPL-3.0-or-later
// Journals for the rendering tests: loaded from journal text as a retrieval loads them,
// rendered, and shown in UTF-8 so that a failing comparison is readable. The conversion
// is one to one, so equal UTF-8 lines are equal Windows-1251 lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "journal/journal_container.hpp"
#include "journal/journal_loader.hpp"
#include "journal/xml_dom.hpp"
#include "render/journal_renderer.hpp"
#include "text/cp1251.hpp"

namespace render_testing {

// A journal text of the given documents, written here in UTF-8 and held in Windows-1251
// as the register sends it.
inline std::string journal_text(const std::string& utf8_documents) {
  return "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n" +
         text::from_utf8(utf8_documents) + "\r\n</RQ>\r\n";
}

inline journal::loaded_journal load_journal(const std::string& utf8_documents) {
  journal::loaded_journal journal;
  journal::loader_state state;
  const journal::dom::Document doc = journal::dom::Document::parse(journal_text(utf8_documents));
  journal::LoadJournal(doc.root(), journal, state);
  return journal;
}

// One document: a DAT of the register 400012345 / 3012345678 holding `body`, and its MAC.
inline std::string document(const std::string& body, const std::string& ts = "20140512103000") {
  return "<DAT FN=\"3012345678\" ZN=\"400012345\">" + body + "<TS>" + ts + "</TS></DAT><MAC/>\n";
}

inline std::vector<std::string> to_utf8(const render::LineList& lines) {
  std::vector<std::string> out;
  for (const std::string& line : lines) out.push_back(text::to_utf8(line));
  return out;
}

inline std::vector<std::string> render_utf8(const journal::loaded_journal& journal,
                                            render::DocumentKind kind = render::DocumentKind::Both) {
  const journal::number_map by_ordinal;
  journal::number_map by_z_number;
  render::RenderContext context{kind, by_ordinal, by_z_number};
  render::LineList lines;
  render::RenderJournal(journal, context, lines);
  return to_utf8(lines);
}

// A rendered line with its trailing blanks: the visible text filled with blanks up to
// `length` characters.
inline std::string padded(std::string_view utf8, std::size_t length) {
  const std::size_t visible = text::from_utf8(utf8).size();
  std::string line(utf8);
  if (length > visible) line.append(length - visible, ' ');
  return line;
}

inline const std::string kSeparator = "  --------------------------------------";

}  // namespace render_testing
