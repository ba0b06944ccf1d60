# SPDX-License-Identifier: GPL-3.0-or-later
"""The archive window of a running talqen through the accessibility bus (AT-SPI), as a
screen reader's user meets it: each control found by its name, which must be its caption
in the program's language, with its role; "по номерам", "Показать" and "Проверить"
pressed through the action interface; the list read back item by item and compared with
talqen-cli's export, the verification window's summary sentence and table with talqen-cli's
verify; then "Экспорт…" and Qt's own save dialog, its buttons in the same language.
Usage: archive-on-the-bus.py ru|uk EXPORT VERIFY: the program's language, and files holding
what `talqen-cli export --format text` and `talqen-cli verify` print for the whole archive
the window shows.
Every wait is bounded; what is missing is said in one line and the exit status is 1."""

import sys
import time

from gi.repository import Gio, GLib

PROGRAM = "Talqen"
# The names a screen reader hears, in each language.
WORDS = {
    "ru": {
        "archive": "Архив РРО", "verification": "Проверка архива", "show": "Показать", "next": "Далее",
        "previous": "Назад", "export": "Экспорт…", "verify": "Проверить", "find": "Найти",
        "by numbers": "по номерам", "documents": "Документы", "save": "Сохранить", "findings": "Находки",
        "export dialog": "Экспорт", "dialog buttons": ["Отмена", "Сохранить"],
        "summary": "Документов {0}, Z-отчетов {1}, проверено {2}, ",
        "no findings": "расхождений нет", "findings count": "расхождений {0}",
    },
    "uk": {
        "archive": "Архів РРО", "verification": "Перевірка архіву", "show": "Показати", "next": "Далі",
        "previous": "Назад", "export": "Експорт…", "verify": "Перевірити", "find": "Знайти",
        "by numbers": "за номерами", "documents": "Документи", "save": "Зберегти", "findings": "Знахідки",
        "export dialog": "Експорт", "dialog buttons": ["Зберегти", "Скасувати"],
        "summary": "Документів {0}, Z-звітів {1}, перевірено {2}, ",
        "no findings": "розбіжностей немає", "findings count": "розбіжностей {0}",
    },
}
# A busy display may lose an action: done again after this long without its effect.
PRESS_AGAIN_S = 8
# The longest wait for a window, a program on the bus, or an action's effect.
EFFECT_S = 40


class Missing(Exception):
    pass


def until(seconds, what, probe):
    """probe()'s first true answer within `seconds`; a bus call that fails is asked again."""
    deadline = time.monotonic() + seconds
    while True:
        try:
            found = probe()
        except GLib.Error:
            found = None
        if found:
            return found
        if time.monotonic() >= deadline:
            raise Missing(what)
        time.sleep(0.2)


# Asked before pyatspi is loaded: without the bus, loading it only warns, then finds nothing.
try:
    Gio.bus_get_sync(Gio.BusType.SESSION, None).call_sync(
        "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None, GLib.VariantType.new("(s)"),
        Gio.DBusCallFlags.NONE, 10000, None)
except GLib.Error as e:
    print(f"archive-on-the-bus: no accessibility bus on the D-Bus session bus ({e.message})")
    sys.exit(1)

import pyatspi  # noqa: E402
from gi.repository import Atspi  # noqa: E402

# Each call on the bus waits this long for the program (ms), more than the default, as a
# loaded machine's program may answer late; a call that fails is made again.
Atspi.set_timeout(5000, 15000)

# Lists and combo boxes hold items, not controls: not searched for controls.
HOLDERS = (pyatspi.ROLE_LIST, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE)


def fresh(o):
    o.clear_cache()
    return o


def shown(o):
    return fresh(o).getState().contains(pyatspi.STATE_SHOWING)


def showing_window(app, prefix):
    return next((w for w in fresh(app) if w is not None and w.name.startswith(prefix) and shown(w)), None)


def window(app, prefix):
    return until(EFFECT_S, f"no window «{prefix}…» of {PROGRAM} on the bus", lambda: showing_window(app, prefix))


def controls(top):
    found, holders = [], [top]
    while holders:
        for child in fresh(holders.pop()):
            if child is None:
                continue
            found.append(child)
            if child.getRole() not in HOLDERS:
                holders.append(child)
    return found


def control(within, name, role):
    """The one control of that role whose accessible name is `name`."""
    named = [c for c in within if c.name == name]
    of_role = [c for c in named if c.getRole() == role]
    if len(of_role) == 1:
        return of_role[0]
    role_name = Atspi.role_get_name(role)
    if of_role:
        raise Missing(f"{len(of_role)} controls «{name}» of role {role_name}, not one")
    if named:
        raise Missing(f"«{name}» is a {', '.join(c.getRoleName() for c in named)}, not a {role_name}")
    names = sorted({c.name for c in within if c.name})
    raise Missing(f"no {role_name} «{name}»; the names there: {', '.join(names)}")


def press(button, effect, what):
    """The button's action (press, toggle) done, again until effect() holds; while the
    button is disabled (a reading), only waited for."""
    deadline = time.monotonic() + EFFECT_S
    offered = None
    while time.monotonic() < deadline:
        try:
            if not fresh(button).getState().contains(pyatspi.STATE_ENABLED):
                time.sleep(0.2)
                continue
            actions = button.queryAction()
            offered = [actions.getName(i).lower() for i in range(actions.nActions)]
            chosen = next((i for i, n in enumerate(offered) if n in ("press", "click", "toggle")), None)
            if chosen is None:
                time.sleep(0.2)
                continue
            actions.doAction(chosen)
        except GLib.Error:
            pass
        try:
            return until(min(PRESS_AGAIN_S, max(0.0, deadline - time.monotonic())), what, effect)
        except Missing:
            pass
    if offered is not None and not any(n in ("press", "click", "toggle") for n in offered):
        what += f" («{button.name}» offers no press action: {', '.join(offered) or 'none'})"
    raise Missing(what)


def items(holder):
    fresh(holder)
    return [fresh(holder.getChildAtIndex(i)).name for i in range(holder.childCount)]


def same_lines(what, shown_lines, wanted):
    if shown_lines == wanted:
        return
    for at, (got, expected) in enumerate(zip(shown_lines, wanted)):
        if got != expected:
            raise Missing(f"{what}: item {at + 1} is «{got}», talqen-cli has «{expected}»")
    raise Missing(f"{what}: {len(shown_lines)} items, talqen-cli has {len(wanted)} lines")


def summary_sentence(words, line):
    """The window's sentence for verify's summary line."""
    fields = dict(field.split(" ", 1) for field in line.split("\t")[1:])
    z_reports, checked = fields["Z-reports"].split(", checked ")
    findings = int(fields["findings"])
    return words["summary"].format(fields["documents"], z_reports, checked) + (
        words["no findings"] if findings == 0 else words["findings count"].format(findings))


def table_rows(table):
    """The documents and Z-report columns of each row, as the window shows them."""
    cells = fresh(table).queryTable()
    return [(cells.getAccessibleAt(r, 0).name, cells.getAccessibleAt(r, 1).name) for r in range(cells.nRows)]


def verified_rows(lines):
    """The same columns from verify's lines: findings first, then notes."""
    rows = []
    for kind in ("finding", "note"):
        for line in lines:
            fields = line.split("\t")
            if fields[0] != kind:
                continue
            documents = fields[1].removeprefix("document ").replace("-", "–")
            z = fields[2].removeprefix("Z ")
            rows.append((documents, "" if z == "-" else z))
    return rows


def check(language, exported, verified):
    if not exported or not verified:
        raise Missing("talqen-cli printed nothing to compare with")
    words = WORDS[language]
    ARCHIVE_WINDOW, VERIFICATION_WINDOW = words["archive"], words["verification"]
    desktop = pyatspi.Registry.getDesktop(0)
    app = until(EFFECT_S, f"{PROGRAM} is not on the accessibility bus",
                lambda: next((a for a in fresh(desktop) if a is not None and a.name == PROGRAM), None))
    archive = window(app, ARCHIVE_WINDOW)
    within = until(EFFECT_S, f"the controls of «{archive.name}» could not be read", lambda: controls(archive))
    buttons = {key: control(within, words[key], pyatspi.ROLE_PUSH_BUTTON)
               for key in ("show", "next", "previous", "export", "verify")}
    control(within, words["find"], pyatspi.ROLE_TEXT)
    by_numbers = control(within, words["by numbers"], pyatspi.ROLE_RADIO_BUTTON)
    documents = control(within, words["documents"], pyatspi.ROLE_LIST)

    # By numbers the window's fields hold every number the archive holds: the whole tape.
    press(by_numbers, lambda: fresh(by_numbers).getState().contains(pyatspi.STATE_CHECKED),
          f"«{words['by numbers']}» pressed on the bus did not get checked")
    press(buttons["show"], lambda: fresh(documents).childCount == len(exported),
          f"«{words['show']}» pressed on the bus: the list never held the {len(exported)} lines of talqen-cli export")
    same_lines(f"«{words['documents']}»",
               until(EFFECT_S, "the list's items could not be read", lambda: items(documents)), exported)

    verification = press(buttons["verify"], lambda: showing_window(app, VERIFICATION_WINDOW),
                         f"«{words['verify']}» pressed on the bus: no window «{VERIFICATION_WINDOW}»")
    within = until(EFFECT_S, f"the controls of «{VERIFICATION_WINDOW}» could not be read",
                   lambda: controls(verification))
    control(within, words["save"], pyatspi.ROLE_PUSH_BUTTON)
    findings = control(within, words["findings"], pyatspi.ROLE_TABLE)
    # The summary in words, above the table; a row for each of verify's findings and notes.
    summary = summary_sentence(words, verified[-1])
    label = control(within, summary, pyatspi.ROLE_LABEL)
    top = lambda c: c.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).y
    if top(label) >= top(findings):
        raise Missing(f"the summary «{summary}» is not at the top of «{VERIFICATION_WINDOW}»")
    shown_rows, wanted_rows = table_rows(findings), verified_rows(verified[:-1])
    if shown_rows != wanted_rows:
        raise Missing(f"«{words['findings']}» holds the rows {shown_rows}, talqen-cli's lines {wanted_rows}")

    # Qt's own save dialog of "Экспорт…", in the program's language, closed again.
    dialog = press(buttons["export"], lambda: showing_window(app, words["export dialog"]),
                   f"«{words['export']}» pressed on the bus: no window «{words['export dialog']}»")
    within = until(EFFECT_S, "the save dialog's controls could not be read", lambda: controls(dialog))
    offered = sorted(c.name for c in within if c.getRole() == pyatspi.ROLE_PUSH_BUTTON and c.name in
                     words["dialog buttons"])
    if offered != sorted(words["dialog buttons"]):
        names = sorted({c.name for c in within if c.getRole() == pyatspi.ROLE_PUSH_BUTTON})
        raise Missing(f"the save dialog's buttons are {names}, not {words['dialog buttons']}")
    cancel = control(within, words["dialog buttons"][0 if language == "ru" else 1], pyatspi.ROLE_PUSH_BUTTON)
    press(cancel, lambda: not showing_window(app, words["export dialog"]), "the save dialog did not close")


def lines_of(path):
    with open(path, encoding="utf-8") as f:
        return f.read().splitlines()


def main():
    try:
        check(sys.argv[1], lines_of(sys.argv[2]), lines_of(sys.argv[3]))
    except Missing as e:
        print(f"archive-on-the-bus: {e}")
        return 1
    except GLib.Error as e:
        print(f"archive-on-the-bus: a call on the bus failed: {e.message}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
