// Any journal text through the parser and the loader: a parse or conversion failure is
// fine, a crash or an overrun is not.
#include <cstddef>
#include <cstdint>
#include <string>

#include "journal/journal_container.hpp"
#include "journal/journal_errors.hpp"
#include "journal/journal_loader.hpp"
#include "journal/xml_dom.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    const auto document = journal::dom::Document::parse(text);
    journal::rq journal;
    journal::control names;
    journal::LoadJournal(document.root(), journal, names);
  } catch (const journal::JournalError&) {
  }
  return 0;
}
