#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The xlsx export read back by a reader of its own (openpyxl), against the csv export of the
same documents: the "Рядки" sheets, their continuations joined, are the csv rows one for one
once the csv's codes are put in words, each value in the cell type it should have;
"Документи" names each document of the csv once; "Z-звіти" holds the Z-reports' sales of the
csv. Each sheet has its bold frozen header of words and an autofilter over its rows. No
header or code cell holds a program identifier, and each code of the csv has one word of its
own, the same wherever it stands.

Usage: xlsx_matches_csv.py WORKBOOK CSV [ROWS_PER_SHEET EXPECTED_ROW_SHEETS]
Exit 0 when everything matches; otherwise each difference is printed, exit 1.
"""
import csv
import datetime
import re
import sys

import openpyxl

PLACES = {"0": 0, "0.00": 2, "0.000": 3}
problems = []


def fail(message):
    problems.append(message)
    if len(problems) > 20:
        report()


def report():
    for p in problems:
        print(p)
    sys.exit(1 if problems else 0)


IDENTIFIER = re.compile(r"[a-z0-9_-]+")


class Words:
    """The words the workbook shows for each code: one word a code, no two codes alike."""

    def __init__(self):
        self.of = {}

    def learn(self, code, word, where):
        if not isinstance(word, str) or IDENTIFIER.fullmatch(word):
            fail(f"{where}: {word!r} for {code!r} is no word for a person")
        known = self.of.setdefault(code, word)
        if known != word:
            fail(f"{where}: {code!r} is {word!r} here and {known!r} before")
        others = [c for c, w in self.of.items() if w == word and c != code]
        if others:
            fail(f"{where}: {code!r} and {others[0]!r} are both {word!r}")
        return code


def check_header(ws, head, columns):
    if len(head) != columns or len(set(head)) != columns:
        fail(f"{ws.title}: header {head}, not {columns} different names")
    for name in head:
        if not isinstance(name, str) or IDENTIFIER.fullmatch(name):
            fail(f"{ws.title}: header {name!r} is a program identifier")


def series(workbook, name):
    """The sheets NAME, NAME (2), NAME (3), ... in order."""
    sheets = [ws for ws in workbook.worksheets if ws.title == name or re.fullmatch(re.escape(name) + r" \(\d+\)", ws.title)]
    expected = [name] + [f"{name} ({n})" for n in range(2, len(sheets) + 1)]
    if [ws.title for ws in sheets] != expected:
        fail(f"sheets of {name}: {[ws.title for ws in sheets]}")
    return sheets


def data_rows(sheets, header, rows_per_sheet):
    rows = []
    first_head = None
    for i, ws in enumerate(sheets):
        cells = list(ws.iter_rows())
        head = [c.value for c in cells[0]] if cells else []
        check_header(ws, head, len(header))
        if i > 0 and head != first_head:
            fail(f"{ws.title}: header {head}, not that of {sheets[0].title}")
        first_head = head if i == 0 else first_head
        if cells and not all(c.font.b for c in cells[0]):
            fail(f"{ws.title}: header not bold")
        if ws.freeze_panes != "A2":
            fail(f"{ws.title}: frozen at {ws.freeze_panes}")
        last_column = openpyxl.utils.get_column_letter(len(header))
        if ws.auto_filter.ref != f"A1:{last_column}{len(cells)}":
            fail(f"{ws.title}: autofilter {ws.auto_filter.ref} over {len(cells)} rows")
        if rows_per_sheet:
            full = i < len(sheets) - 1
            if len(cells) > rows_per_sheet or (full and len(cells) != rows_per_sheet):
                fail(f"{ws.title}: {len(cells)} rows, {rows_per_sheet} a sheet")
        rows += cells[1:]
    return rows


def number_text(cell, where):
    """A number cell as the csv writes it; empty for an empty cell."""
    if cell.value is None:
        return ""
    if not isinstance(cell.value, (int, float)) or isinstance(cell.value, bool):
        fail(f"{where}: {cell.value!r} is no number")
        return str(cell.value)
    places = PLACES.get(cell.number_format)
    if places is None:
        fail(f"{where}: number format {cell.number_format}")
        places = 2
    return f"{cell.value:.{places}f}"


def date_text(cell, where):
    if cell.value is None:
        return ""
    if not isinstance(cell.value, datetime.datetime) or cell.number_format != "dd.mm.yyyy":
        fail(f"{where}: {cell.value!r} ({cell.number_format}) is no date cell")
        return str(cell.value)
    return cell.value.date().isoformat()


def text_of(cell, where):
    if cell.value is None:
        return ""
    if not isinstance(cell.value, str):
        fail(f"{where}: {cell.value!r} is no text")
    return str(cell.value)


def main():
    workbook_path, csv_path = sys.argv[1], sys.argv[2]
    rows_per_sheet = int(sys.argv[3]) if len(sys.argv) > 3 else 0
    expected_row_sheets = int(sys.argv[4]) if len(sys.argv) > 4 else 0
    with open(csv_path, newline="", encoding="utf-8") as f:
        table = list(csv.reader(f))
    header, csv_rows = table[0], table[1:]
    workbook = openpyxl.load_workbook(workbook_path)

    row_sheets = series(workbook, "Рядки")
    if expected_row_sheets and len(row_sheets) != expected_row_sheets:
        fail(f"{len(row_sheets)} Рядки sheets, not {expected_row_sheets}")
    rows = data_rows(row_sheets, header, rows_per_sheet)
    if len(rows) != len(csv_rows):
        fail(f"{len(rows)} rows in Рядки, {len(csv_rows)} in the csv")
    words = Words()
    for n, (cells, expected) in enumerate(zip(rows, csv_rows), start=2):
        where = f"Рядки row {n}"
        if not isinstance(cells[0].value, int) or isinstance(cells[0].value, bool):
            fail(f"{where}: number {cells[0].value!r}")
        got = [str(cells[0].value), date_text(cells[1], where), text_of(cells[2], where)]
        got += [words.learn(code, cells[column].value, where) for code, column in ((expected[3], 3), (expected[4], 4))]
        got += [text_of(cells[5], where)]
        got += [number_text(c, where) for c in cells[6:9]]
        got += [text_of(cells[9], where)]
        if got != expected:
            fail(f"{where}: {got} != {expected}")
        # The cell holds the decimal's own nearest double, not a single's.
        for c, text in zip(cells[6:9], expected[6:9]):
            if text and c.value != float(text):
                fail(f"{where}: {c.value!r} is not {text}")

    documents_header = ["number", "date", "time", "kind", "receipt_number", "cash_desk", "z_number", "total",
                        "cancelled"]
    documents = data_rows(series(workbook, "Документи"), documents_header, rows_per_sheet)
    numbers = list(dict.fromkeys(r[0] for r in csv_rows))
    if [str(cells[0].value) for cells in documents] != numbers:
        fail("Документи does not name each document of the csv once, in order")
    totals = {r[0]: r[8] for r in csv_rows if r[4] == "total"}
    kinds = {r[0]: r[3] for r in csv_rows}
    for n, cells in enumerate(documents, start=2):
        number = str(cells[0].value)
        if number in kinds:
            words.learn(kinds[number], cells[3].value, f"Документи row {n}")
        if number in totals and number_text(cells[7], f"Документи row {n}") != totals[number]:
            fail(f"Документи row {n}: total {cells[7].value!r}, csv {totals[number]}")
        if number in totals and not isinstance(cells[8].value, bool):
            fail(f"Документи row {n}: cancelled {cells[8].value!r}")

    z_header = ["number", "date", "z_number", "line_type", "name", "tax_letter", "rate", "sales", "returns",
                "tax_sales", "tax_returns", "excise_rate", "excise_sales", "excise_returns"]
    z_rows = data_rows(series(workbook, "Z-звіти"), z_header, rows_per_sheet)
    sales = [(r[0], r[5], r[8]) for r in csv_rows if r[4] == "sales"]
    # A payment form's row names the form, a tax group's its letter: each kind its own word.
    for n, c in enumerate(z_rows, start=2):
        words.learn("payment_form" if c[4].value else "tax_group", c[3].value, f"Z-звіти row {n}")
    got = [(str(c[0].value), text_of(c[4], "Z-звіти"), number_text(c[7], "Z-звіти"))
           for c in z_rows if c[3].value == words.of.get("payment_form")]
    if got != sales:
        fail(f"Z-звіти payment forms {got} != csv sales {sales}")
    turnover = [(r[0], r[9], r[8]) for r in csv_rows if r[4] == "turnover_sales"]
    got = [(str(c[0].value), text_of(c[5], "Z-звіти"), number_text(c[7], "Z-звіти"))
           for c in z_rows if c[3].value == words.of.get("tax_group")]
    if got != turnover:
        fail(f"Z-звіти tax groups {got} != csv turnover {turnover}")
    report()


main()
