// SPDX-License-Identifier: GPL-3.0-or-later
// An archive file from elsewhere: the bytes as a file, opened as export and verify open
// one, every document exported in every form and the whole tape verified. Nothing a
// file holds may crash, hang or run away with memory.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "archive/journal_export.hpp"
#include "archive/sqlite_database.hpp"
#include "archive/tape_archive.hpp"
#include "archive/tape_verification.hpp"
#include "archive/xlsx_export.hpp"

namespace fs = std::filesystem;

namespace {

const fs::path& work_folder() {
  static const fs::path folder = [] {
    const fs::path f = fs::temp_directory_path() / ("talqen-archive-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(f);
    return f;
  }();
  return folder;
}

void export_every_form(const archive::TapeArchive& tape) {
  const archive::ArchiveSelection everything;
  render::LineSink lines([](std::string&&) {});
  const archive::ByteSink bytes = [](std::string_view) { return true; };
  const fs::path workbook = work_folder() / "export.xlsx";
  for (auto& exporter : {archive::xml_export(bytes), archive::text_export(render::DocumentKind::Both, {}, lines),
                         archive::csv_export(render::DocumentKind::Both, bytes),
                         archive::json_export(render::DocumentKind::Both, bytes),
                         archive::xlsx_export(render::DocumentKind::Both, workbook)}) {
    tape.visit(everything, [&](const archive::ArchivedDocument& document) { exporter->add(document); });
    exporter->finish();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fs::path file = work_folder() / "input.talqen.db";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  try {
    (void)archive::TapeArchive::damage(file.string());
    const archive::TapeArchive tape = archive::TapeArchive::open_existing(file.string());
    export_every_form(tape);
    archive::verify_archive(tape, {}, [](const archive::Finding&) {});
  } catch (const archive::ArchiveError&) {
    // A file refused or failing while it is read is the answer a user sees.
  }
  std::error_code ignored;
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) fs::remove(file.string() + suffix, ignored);
  fs::remove(work_folder() / "export.xlsx", ignored);
  return 0;
}
