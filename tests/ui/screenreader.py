#!/usr/bin/python3
"""Reads the program through the accessibility bus, as a screen reader does.

    dbus-run-session -- screenreader.py PROGRAM MEMBERLIST     (on an X server)

Starts the accessibility bus and stops it by its PID. First run, with a
report: every control has a name; the grid's cells, headers and sums say what
they count; the member-list import, opened with its shortcut through the file
dialog, is named throughout. A change, a kill, and the second run's recovery
question must be readable, focused and over the main window.
"""

import os
import signal
import subprocess
import sys
import tempfile
import time

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

PROGRAM, MEMBERLIST = sys.argv[1], sys.argv[2]
AGES = ["0 - 6 Jahre", "7 - 14 Jahre", "15 - 18 Jahre", "19 - 26 Jahre", "27 - 40 Jahre",
        "41 - 60 Jahre", "über 60 Jahre"]
COUNTS = [(1, 2), (10, 7), (0, 3), (5, 0), (12, 13), (4, 4), (9, 6)]  # men, women
MASTERS = ["Abc;De;3", "Zett;Ypsilon;10"]

# Ours, up before pyatspi first asks the session bus for it.
LAUNCHER = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately",
                             "--a11y=1"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def bus_is_up():
    reply = Gio.bus_get_sync(Gio.BusType.SESSION, None).call_sync(
        "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
        GLib.Variant("(s)", ("org.a11y.Bus",)), None, Gio.DBusCallFlags.NONE, -1, None)
    return reply.unpack()[0]


for _ in range(100):
    if bus_is_up() or LAUNCHER.poll() is not None:
        break
    time.sleep(0.1)

import pyatspi  # noqa: E402

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

# What a user acts on or types into; each must have a name.
NAMED = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
         pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_TEXT, pyatspi.ROLE_SPIN_BUTTON,
         pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE,
         pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_PROGRESS_BAR,
         pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT, pyatspi.ROLE_TOOL_BAR}
results = [0, 0]


def check(ok, what, detail=""):
    results[0 if ok else 1] += 1
    print(("PASS  " if ok else "FAIL  ") + what + ("" if ok or not detail else ": " + detail),
          flush=True)
    return ok


def wait_for(find, seconds=20.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            found = find()
        except Exception:  # the tree changes while windows come and go
            found = None
        if found:
            return found
        time.sleep(0.1)
    return None


def children(acc):
    return [c for c in (acc.getChildAtIndex(i) for i in range(acc.childCount)) if c]


def walk(acc):
    yield acc
    for c in children(acc):
        yield from walk(c)


def find(root, role, name=None, prefix=""):
    return next((a for a in walk(root) if a.getRole() == role and a.name.startswith(prefix)
                 and name in (None, a.name)), None)


def heard(acc):
    """The name Orca says; a choice box is named by the label it is labelled by."""
    if acc.getRole() != pyatspi.ROLE_COMBO_BOX:
        return acc.name.strip()
    return " ".join(r.getTarget(i).name for r in acc.getRelationSet()
                    if r.getRelationType() == pyatspi.RELATION_LABELLED_BY
                    for i in range(r.getNTargets())).strip()


def unnamed(top):
    return ["%s in %s '%s'" % (a.getRoleName(), a.parent.getRoleName(), a.parent.name)
            for a in walk(top) if a.getRole() in NAMED and not heard(a)]


def press(acc):
    acc.queryAction().doAction(0)


def ctrl(key):
    """Ctrl+key through the X server's keyboard, as the user types it."""
    Atspi.generate_keyboard_event(1 << 2, None, Atspi.KeySynthType.LOCKMODIFIERS)
    Atspi.generate_keyboard_event(ord(key), None, Atspi.KeySynthType.SYM)
    Atspi.generate_keyboard_event(1 << 2, None, Atspi.KeySynthType.UNLOCKMODIFIERS)


def start(home, *args):
    env = dict(os.environ, HOME=home, XDG_DATA_HOME=home + "/data", QT_QPA_PLATFORM="xcb",
               XDG_CONFIG_HOME=home + "/config", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    proc = subprocess.Popen([PROGRAM, *args], env=env, cwd=home, stdout=subprocess.DEVNULL)
    app = wait_for(lambda: next((a for a in children(pyatspi.Registry.getDesktop(0))
                                 if a.get_process_id() == proc.pid and a.childCount), None))
    frame = app and wait_for(lambda: find(app, pyatspi.ROLE_FRAME, "ZOR-Quorvane"))
    check(frame is not None, "the program's main window is on the accessibility bus")
    return proc, app, frame


def read_window(frame):
    check(not unnamed(frame), "every control on every page has a name", "; ".join(unnamed(frame)))
    table = find(frame, pyatspi.ROLE_TABLE, "Mitgliederzahlen")
    if check(table is not None, "the member grid is a table named Mitgliederzahlen"):
        t = table.queryTable()
        check([t.getColumnHeader(c).name for c in (1, 2)] == ["Männer", "Frauen"]
              and [t.getRowHeader(r).name for r in range(1, 8)] == AGES,
              "the grid's headers are the sexes and the age groups")
        cells = [t.getAccessibleAt(g + 1, c).name for g in range(7) for c in (1, 2)]
        wanted = ["%s, %s: %d" % (AGES[g], sex, COUNTS[g][c]) for g in range(7)
                  for c, sex in enumerate(("Männer", "Frauen"))]
        check(cells == wanted, "each count cell says its age group, sex and count", repr(cells))
    men, women = sum(m for m, _ in COUNTS), sum(w for _, w in COUNTS)
    sums = ["Alle, %s: %d" % (AGES[g], m + w) for g, (m, w) in enumerate(COUNTS)]
    sums += ["Summe Männer: %d" % men, "Summe Frauen: %d" % women, "Summe Alle: %d" % (men + women)]
    labels = {a.name for a in walk(frame) if a.getRole() == pyatspi.ROLE_LABEL}
    check(set(sums) <= labels, "the sums say what they sum", repr(set(sums) - labels))
    masters = find(frame, pyatspi.ROLE_LIST, "Meisterliste")
    check(masters is not None and [c.name for c in children(masters)] == MASTERS,
          "the masters list is named and reads its entries")
    spin = find(frame, pyatspi.ROLE_SPIN_BUTTON, "Dan-Grad ändern")
    check(spin is not None and spin.queryValue().currentValue == 1, "the grade's up-down is named")


def read_import(app):
    ctrl("i")  # pressing the button through the bus would not answer until the dialog closes
    chooser = wait_for(lambda: find(app, pyatspi.ROLE_DIALOG))
    field = chooser and wait_for(lambda: find(chooser, pyatspi.ROLE_TEXT, prefix="Datei"))
    if not check(field is not None, "Ctrl+I opens a file dialog with a named file name field"):
        return
    field.queryEditableText().setTextContents(MEMBERLIST)
    press(find(chooser, pyatspi.ROLE_PUSH_BUTTON, "Öffnen"))
    dialog = wait_for(lambda: find(app, pyatspi.ROLE_DIALOG, "Mitgliederliste übernehmen"))
    if check(dialog is not None, "the member-list dialog opens"):
        time.sleep(0.5)  # filled in once it shows
        check(not unnamed(dialog), "every control of the member-list dialog has a name",
              "; ".join(unnamed(dialog)))
        press(find(dialog, pyatspi.ROLE_PUSH_BUTTON, "Abbrechen"))


def read_recovery(app, frame):
    box = wait_for(lambda: find(app, pyatspi.ROLE_ALERT))
    if not check(box is not None, "the recovery question is an alert"):
        return
    texts = [a.name for a in walk(box) if a.getRole() == pyatspi.ROLE_LABEL]
    check(box.name == "ZOR-Quorvane" and any("Sicherungskopie" in t for t in texts),
          "the recovery question's caption and text are read", repr(texts))
    buttons = {a.name: a for a in walk(box) if a.getRole() == pyatspi.ROLE_PUSH_BUTTON}
    check(set(buttons) == {"Wiederherstellen", "Verwerfen"} and wait_for(
        lambda: any(b.getState().contains(pyatspi.STATE_FOCUSED) for b in buttons.values()), 5),
          "its answers are named buttons, one of them focused", repr(sorted(buttons)))
    (bx, by, bw, bh), (fx, fy, fw, fh) = [tuple(a.queryComponent().getExtents(
        pyatspi.DESKTOP_COORDS)) for a in (box, frame)]
    check(abs(bx + bw / 2 - fx - fw / 2) < fw / 4 and abs(by + bh / 2 - fy - fh / 2) < fh / 4,
          "the recovery question opens over the main window",
          "box %r, window %r" % ((bx, by, bw, bh), (fx, fy, fw, fh)))
    press(buttons["Verwerfen"])


def main():
    check(bus_is_up(), "the accessibility bus is up")
    try:
        with tempfile.TemporaryDirectory() as home:
            report = home + "/bericht.zor"
            lines = ["Sportverein Beispielhausen", "0042", "Xy12", "Erika", "Muster", "Weg 1",
                     "12345", "Beispielhausen", "0123 456789"] + ["-"] * 4 + ["12345", "-", "-"]
            lines += ["%d %d %d" % (b, m, w) for b, (m, w) in
                      zip([6, 14, 18, 26, 40, 60, 500], COUNTS)] + MASTERS
            with open(report, "wb") as f:
                f.write("".join(l + "\r\n" for l in lines).encode("cp1252"))
            proc, app, frame = start(home, report)
            try:
                if frame:
                    read_window(frame)
                    read_import(app)
                    # A change that is in no file is kept as a recovery copy...
                    name = find(frame, pyatspi.ROLE_TEXT, prefix="Vereinsname")
                    name.queryEditableText().insertText(0, "TV ", 3)
                    folder = home + "/data/zor-quorvane/recovery"
                    check(wait_for(lambda: [f for f in os.listdir(folder)
                                            if not f.endswith(".lock")], 10),
                          "a change is kept as a recovery copy")
            finally:
                proc.kill()  # ...and the program ends as a crash would end it
                proc.wait()
            proc, app, frame = start(home)
            try:
                if frame:
                    read_recovery(app, frame)
            finally:
                proc.send_signal(signal.SIGTERM)
                proc.wait()
    finally:
        LAUNCHER.terminate()
        LAUNCHER.wait()
    print("%d passed, %d failed" % tuple(results))
    return 1 if results[1] else 0


if __name__ == "__main__":
    sys.exit(main())
