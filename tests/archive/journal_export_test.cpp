// SPDX-License-Identifier: GPL-3.0-or-later
// The export forms of archived documents: what a spreadsheet or a JSON reader would
// misread (quoting, escaping, signs and places of amounts), and the text form fed one
// document at a time against the rendering of the whole journal text.
#include "archive/journal_export.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "retrieval/journal_pipeline.hpp"
#include "support/sample_archive.hpp"
#include "text/cp1251.hpp"

namespace archive {
namespace {

// One receipt document: a DAT holding the given receipt elements, and its MAC.
ArchivedDocument receipt_document(std::int32_t number, const std::string& elements_utf8) {
  ArchivedDocument document;
  document.number = number;
  document.timestamp = "20240601093005";
  document.text = text::from_utf8("<DAT FN=\"3000000001\" ZN=\"4000000001\"><C T=\"0\">" + elements_utf8 +
                                  "<E N=\"9\" NO=\"7\" SM=\"1200\" TX=\"1\" TXPR=\"20.00\" TXSM=\"200\"/></C>"
                                  "<TS>20240601093005</TS></DAT><MAC DI=\"1\"/>");
  return document;
}

std::string csv_of(const std::vector<ArchivedDocument>& documents) {
  std::string out;
  const auto exporter = csv_export(render::DocumentKind::Both, [&](std::string_view bytes) {
    out += bytes;
    return true;
  });
  for (const ArchivedDocument& d : documents) exporter->add(d);
  EXPECT_TRUE(exporter->finish());
  return out;
}

std::string json_of(const std::vector<ArchivedDocument>& documents) {
  std::string out;
  const auto exporter = json_export(render::DocumentKind::Both, [&](std::string_view bytes) {
    out += bytes;
    return true;
  });
  for (const ArchivedDocument& d : documents) exporter->add(d);
  EXPECT_TRUE(exporter->finish());
  return out;
}

// The csv rows before the total of receipt_document 12.
std::string rows_before_total(const std::string& csv) {
  const std::size_t header_end = csv.find("\r\n") + 2;
  return csv.substr(header_end, csv.find("12,2024-06-01,09:30:05,sale,total,") - header_end);
}

TEST(JournalExport, CsvQuotesNamesAndWritesThemInUtf8) {
  struct Case {
    const char* name_in_journal;  // as the attribute stands in the journal text
    const char* field;
  };
  const Case cases[] = {
      {"Хліб житній", "Хліб житній"},
      {"Молоко 2,5%", "\"Молоко 2,5%\""},
      {"Кава &quot;Арабіка&quot;", "\"Кава \"\"Арабіка\"\"\""},
      {"Два&#10;рядки", "\"Два\nрядки\""},
      {"CR&#13;тут", "\"CR\rтут\""},
      {"&quot;,&#10;", "\"\"\",\n\""},
  };
  for (const Case& c : cases) {
    const std::string row =
        rows_before_total(csv_of({receipt_document(12, std::string("<P N=\"1\" NM=\"") + c.name_in_journal +
                                                   "\" SM=\"-1250\" Q=\"2000\" PRC=\"625\" TX=\"2\"/>")}));
    EXPECT_EQ(row, std::string("12,2024-06-01,09:30:05,sale,item,") + c.field + ",2.000,6.25,-12.50,Б\r\n")
        << c.name_in_journal;
  }
}

TEST(JournalExport, JsonEscapesQuotesBackslashesAndControlCharacters) {
  struct Case {
    std::string utf8;
    std::string json;
  };
  const Case cases[] = {
      {"Київ", "\"Київ\""},
      {"a\"b", "\"a\\\"b\""},
      {"c:\\temp", "\"c:\\\\temp\""},
      {"1\n2\r3\t4", "\"1\\n2\\r3\\t4\""},
      {std::string("\x01\x1f\b\f", 4), "\"\\u0001\\u001f\\b\\f\""},
      {std::string("x\0y", 3), "\"x\\u0000y\""},
  };
  for (const Case& c : cases) EXPECT_EQ(json_string(c.utf8), c.json);
  // A comment as it reaches the json form through the journal.
  const std::string json = json_of({receipt_document(3, "<L N=\"1\">Дякуємо, &quot;друже&quot;\\&#9;!</L>")});
  EXPECT_NE(json.find(R"({"type":"comment","text":"Дякуємо, \"друже\"\\\t!"})"), std::string::npos) << json;
}

TEST(JournalExport, AmountsHaveTheirPlacesWhateverTheirSignAndSize) {
  struct Case {
    double value;
    int places;
    const char* text;
  };
  const Case cases[] = {
      {1200, 2, "12.00"},          {-5, 2, "-0.05"},
      {-1250, 2, "-12.50"},        {0, 2, "0.00"},
      {-0.4, 2, "0.00"},           {0.5, 2, "0.01"},
      {16777216, 2, "167772.16"},  {123456789012, 2, "1234567890.12"},
      {-1e20, 2, "-1000000000000000000.00"},
      {2000, 3, "2.000"},          {1500, 3, "1.500"},
      {7, 3, "0.007"},
  };
  for (const Case& c : cases) EXPECT_EQ(scaled_decimal(c.value, c.places), c.text) << c.value;
  // Through the journal: a discount is written negative, a large total with every digit
  // the journal model holds.
  const std::string json =
      json_of({receipt_document(5, "<D N=\"1\" TR=\"1\" TY=\"1\" TX=\"\" PR=\"10.00\" SM=\"555\"/>"),
               receipt_document(6, "<P N=\"1\" NM=\"Авто\" SM=\"1677721600\" Q=\"0\" PRC=\"1677721600\" TX=\"1\"/>")});
  EXPECT_NE(json.find(R"("percent":10.00,"applies_to":"amount","amount":-5.55,"tax_group":6,"tax_letter":"*")"),
            std::string::npos)
      << json;
  EXPECT_NE(json.find(R"("quantity":null,"price":16777216.00,"amount":16777216.00)"), std::string::npos) << json;
}

TEST(JournalExport, AmountsBeyondWhatASingleHoldsAreWrittenAsTheJournalHasThem) {
  struct Case {
    const char* sm;  // hundredths, as the journal text holds them
    const char* text;
  };
  // 167,772.16 is the last amount of hundredths a single holds exactly.
  const Case cases[] = {
      {"16777217", "167772.17"},
      {"123456789", "1234567.89"},
      {"-123456789", "-1234567.89"},
      {"999999999999999999", "9999999999999999.99"},
  };
  for (const Case& c : cases) {
    const ArchivedDocument document =
        receipt_document(12, std::string("<P N=\"1\" NM=\"Авто\" SM=\"") + c.sm + "\" Q=\"1000\" PRC=\"" + c.sm +
                                "\" TX=\"1\"/><M N=\"2\" T=\"0\" NM=\"Готівка\" SM=\"" + c.sm + "\"/>");
    const std::string text = c.text;
    EXPECT_EQ(rows_before_total(csv_of({document})),
              "12,2024-06-01,09:30:05,sale,item,Авто,1.000," + text + "," + text + ",A\r\n" +
                  "12,2024-06-01,09:30:05,sale,payment,Готівка,,," + text + ",\r\n")
        << c.sm;
    const std::string json = json_of({document});
    EXPECT_NE(json.find("\"price\":" + text + ",\"amount\":" + text), std::string::npos) << json;
    EXPECT_NE(json.find("\"name\":\"Готівка\",\"amount\":" + text + ","), std::string::npos) << json;
  }
  EXPECT_EQ(decimal_text(std::numeric_limits<std::int64_t>::min(), 2), "-92233720368547758.08");
}

TEST(JournalExport, TextOfSingleDocumentsIsTheRenderingOfTheirJournalText) {
  std::vector<ArchivedDocument> documents = testing_support::sample_archived_documents();
  // Every head names the first document's fiscal number, also where a later DAT has its own.
  std::string& second = documents.at(1).text;
  second.replace(second.find("FN=\"3000000001\""), 15, "FN=\"3999999999\"");
  std::string journal_text = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n";
  for (const ArchivedDocument& d : documents) journal_text += d.text + "\r\n";
  journal_text += "</RQ>\r\n";

  for (const render::DocumentKind kind :
       {render::DocumentKind::Both, render::DocumentKind::Receipts, render::DocumentKind::ZReports}) {
    render::LineList expected;
    ASSERT_TRUE(retrieval::RenderJournalText(journal_text, kind, expected));
    render::LineList lines;
    render::LineSink sink(lines);
    const auto exporter = text_export(kind, {}, sink);
    for (const ArchivedDocument& d : documents) exporter->add(d);
    EXPECT_TRUE(exporter->finish());
    EXPECT_EQ(lines, expected) << render::ItemOfDocumentKind(kind);
  }

  std::string xml;
  const auto exporter = xml_export([&](std::string_view bytes) {
    xml += bytes;
    return true;
  });
  for (const ArchivedDocument& d : documents) exporter->add(d);
  EXPECT_TRUE(exporter->finish());
  EXPECT_EQ(xml, journal_text);
}

TEST(JournalExport, ADocumentThatCannotBeReadStopsTheExportAndIsNamed) {
  std::string out;
  const auto exporter = csv_export(render::DocumentKind::Both, [&](std::string_view bytes) {
    out += bytes;
    return true;
  });
  exporter->add(receipt_document(40, "<P N=\"1\" NM=\"Хліб\" SM=\"100\" TX=\"1\"/>"));
  exporter->add(receipt_document(41, "<P N=\"1\" NM=\"Сіль\" SM=\"сто\" TX=\"1\"/>"));
  exporter->add(receipt_document(42, "<P N=\"1\" NM=\"Цукор\" SM=\"100\" TX=\"1\"/>"));
  EXPECT_FALSE(exporter->finish());
  ASSERT_TRUE(exporter->failure());
  EXPECT_EQ(exporter->failure()->document_number, 41) << exporter->failure()->reason;
  EXPECT_EQ(exporter->documents_written(), 1);
  EXPECT_EQ(out.find("\r\n42,"), std::string::npos);
}

}  // namespace
}  // namespace archive
