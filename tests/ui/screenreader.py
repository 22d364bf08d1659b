#!/usr/bin/python3
"""Reads the program as a screen reader does, through the accessibility bus.

    screenreader.py PROGRAM MEMBERLIST

Run inside its own D-Bus session (dbus-run-session) on an X server. Starts the
accessibility bus itself and stops it by its PID at the end; runs PROGRAM with
a home of its own and QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1, as Orca finds it:

1. With a report file: every control of every page has a name; the member
   grid's cells say their age group and sex, its headers are the age groups
   and the sexes, the sums say what they sum; the masters list and the
   grade's up-down are named.
2. The member-list import through the toolbar button and the file dialog,
   read as it opens: every control of the dialog is named.
3. A change, then a kill: the next start asks about the recovery copy in a
   box that can be read, sits over the main window and has the focus.

Prints one line per check and "N passed, N failed" at the end; exits 1 when
a check failed.
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

AGE_GROUPS = ["0 - 6 Jahre", "7 - 14 Jahre", "15 - 18 Jahre", "19 - 26 Jahre",
              "27 - 40 Jahre", "41 - 60 Jahre", "über 60 Jahre"]
AGE_BOUNDS = [6, 14, 18, 26, 40, 60, 500]
# Men and women of each age group in the report the first run opens.
COUNTS = [(1, 2), (10, 7), (0, 3), (5, 0), (12, 13), (4, 4), (9, 6)]
MASTERS = ["Abc;De;3", "Zett;Ypsilon;10"]

# The accessibility bus is ours, started before pyatspi first looks for it.
LAUNCHER = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately",
                             "--a11y=1"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def bus_is_up():
    session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    owned = session.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus",
                              "org.freedesktop.DBus", "NameHasOwner",
                              GLib.Variant("(s)", ("org.a11y.Bus",)), None,
                              Gio.DBusCallFlags.NONE, -1, None)
    return owned.unpack()[0]


for _ in range(100):
    if bus_is_up() or LAUNCHER.poll() is not None:
        break
    time.sleep(0.1)

import pyatspi  # noqa: E402

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

# What a user can act on or type into: each must have a name.
NAMED_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_TEXT, pyatspi.ROLE_PASSWORD_TEXT,
    pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_LIST,
    pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_PAGE_TAB,
    pyatspi.ROLE_PAGE_TAB_LIST, pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_SLIDER,
    pyatspi.ROLE_PROGRESS_BAR, pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT, pyatspi.ROLE_TOOL_BAR,
}

passed = 0
failed = 0


def check(ok, what, detail=""):
    global passed, failed
    if ok:
        passed += 1
        print("PASS  " + what)
    else:
        failed += 1
        print("FAIL  " + what + (": " + detail if detail else ""))
    sys.stdout.flush()
    return ok


def wait_for(find, seconds=20.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            found = find()
        except Exception:  # the tree changes under our feet while windows come and go
            found = None
        if found:
            return found
        time.sleep(0.1)
    return None


def wait_gone(find, seconds=10.0):
    """True once find() finds nothing."""
    return wait_for(lambda: find() is None, seconds) is True


def children(acc):
    out = []
    for i in range(acc.childCount):
        c = acc.getChildAtIndex(i)
        if c is not None:
            out.append(c)
    return out


def walk(acc, depth=0):
    yield acc
    if depth > 30:
        return
    for c in children(acc):
        yield from walk(c, depth + 1)


def find(root, role, name=None, prefix=None):
    for acc in walk(root):
        if acc.getRole() != role:
            continue
        if name is not None and acc.name != name:
            continue
        if prefix is not None and not acc.name.startswith(prefix):
            continue
        return acc
    return None


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in children(desktop):
        try:
            if app.get_process_id() == pid and app.childCount > 0:
                return app
        except Exception:
            pass
    return None


def unnamed(top):
    """The controls under top that a screen reader would announce without a name."""
    missing = []
    for acc in walk(top):
        if acc.getRole() not in NAMED_ROLES:
            continue
        name = acc.name.strip()
        if acc.getRole() == pyatspi.ROLE_COMBO_BOX:
            # A choice is named by what it holds now, which says nothing of
            # what it is for: that comes from the label it is labelled by.
            labels = [t.name for r in acc.getRelationSet()
                      if r.getRelationType() == pyatspi.RELATION_LABELLED_BY
                      for t in (r.getTarget(i) for i in range(r.getNTargets())) if t]
            name = " ".join(l for l in labels if l.strip())
        if name:
            continue
        path = []
        a = acc
        while a is not None and a != top and len(path) < 6:
            path.append("%s '%s'" % (a.getRoleName(), a.name))
            a = a.parent
        missing.append(" < ".join(path))
    return missing


def start(home, *args):
    env = dict(os.environ)
    env.update({
        "HOME": home,
        "XDG_DATA_HOME": os.path.join(home, "data"),
        "XDG_CONFIG_HOME": os.path.join(home, "config"),
        "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
        "QT_QPA_PLATFORM": "xcb",
    })
    proc = subprocess.Popen([PROGRAM, *args], env=env, cwd=home,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    app = wait_for(lambda: application(proc.pid))
    if app is None:
        proc.kill()
        proc.wait()
        raise SystemExit("the program never showed up on the accessibility bus")
    return proc, app


def stop(proc, sig=signal.SIGTERM):
    if proc.poll() is None:
        proc.send_signal(sig)
    try:
        proc.wait(timeout=10)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()


def write_report(path):
    lines = ["Sportverein Beispielhausen", "0042", "Xy12", "Erika", "Muster", "Hauptstr. 1",
             "12345", "Beispielhausen", "0123 456789", "-", "-", "-", "-", "12345", "-", "-"]
    for (men, women), bound in zip(COUNTS, AGE_BOUNDS):
        lines.append("%d %d %d" % (bound, men, women))
    lines += MASTERS
    with open(path, "wb") as f:
        f.write("".join(l + "\r\n" for l in lines).encode("cp1252"))


def read_window(app):
    frame = wait_for(lambda: find(app, pyatspi.ROLE_FRAME, "ZOR-Quorvane"))
    check(frame is not None, "the main window is a frame named ZOR-Quorvane")
    if frame is None:
        return
    missing = unnamed(frame)
    check(not missing, "every control on every page has a name", "; ".join(missing))

    table = wait_for(lambda: find(frame, pyatspi.ROLE_TABLE, "Mitgliederzahlen"))
    if check(table is not None, "the member grid is a table named Mitgliederzahlen"):
        t = table.queryTable()
        check((t.nRows, t.nColumns) == (8, 3), "the grid has 8 rows and 3 columns",
              "%d x %d" % (t.nRows, t.nColumns))
        heads = [t.getColumnHeader(c).name if t.getColumnHeader(c) else None for c in (1, 2)]
        check(heads == ["Männer", "Frauen"], "the count columns' headers are the sexes",
              repr(heads))
        rows = [t.getRowHeader(r).name if t.getRowHeader(r) else None for r in range(1, 8)]
        check(rows == AGE_GROUPS, "the count rows' headers are the age groups", repr(rows))
        wrong = []
        for g, (men, women) in enumerate(COUNTS):
            for col, sex, value in ((1, "Männer", men), (2, "Frauen", women)):
                heard = t.getAccessibleAt(g + 1, col).name
                wanted = "%s, %s: %d" % (AGE_GROUPS[g], sex, value)
                if heard != wanted:
                    wrong.append("%r instead of %r" % (heard, wanted))
        check(not wrong, "every count cell says its age group, sex and count", "; ".join(wrong))

    wanted = ["Alle, %s: %d" % (AGE_GROUPS[g], m + w) for g, (m, w) in enumerate(COUNTS)]
    men = sum(m for m, _ in COUNTS)
    women = sum(w for _, w in COUNTS)
    wanted += ["Summe Männer: %d" % men, "Summe Frauen: %d" % women,
               "Summe Alle: %d" % (men + women)]
    heard = [acc.name for acc in walk(frame) if acc.getRole() == pyatspi.ROLE_LABEL]
    missing = [w for w in wanted if w not in heard]
    check(not missing, "the ten sums say what they sum", "not heard: %r" % missing)

    masters = find(frame, pyatspi.ROLE_LIST, "Meisterliste")
    if check(masters is not None, "the masters list is named Meisterliste"):
        entries = [c.name for c in children(masters)]
        check(entries == MASTERS, "the masters list reads its entries", repr(entries))
    spin = find(frame, pyatspi.ROLE_SPIN_BUTTON)
    if check(spin is not None and spin.name == "Dan-Grad ändern",
             "the grade's up-down is named", spin.name if spin else "no spin button"):
        check(spin.queryValue().currentValue == 1, "the up-down's value is read as 1")
    return frame


def press(acc):
    action = acc.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "click", "SetFocus"):
            action.doAction(i)
            return True
    action.doAction(0)
    return True


def ctrl(key):
    """Types Ctrl+key through the X server's keyboard, as the user would."""
    control = 1 << 2  # the X modifier mask of Control
    Atspi.generate_keyboard_event(control, None, Atspi.KeySynthType.LOCKMODIFIERS)
    try:
        Atspi.generate_keyboard_event(ord(key), None, Atspi.KeySynthType.SYM)
    finally:
        Atspi.generate_keyboard_event(control, None, Atspi.KeySynthType.UNLOCKMODIFIERS)


def read_import(app, frame):
    button = find(frame, pyatspi.ROLE_PUSH_BUTTON, "Mitgliederliste übernehmen")
    if not check(button is not None, "the toolbar has the button Mitgliederliste übernehmen"):
        return
    # Its shortcut, as the user would: pressing the button through the bus
    # would wait for the dialog it opens to close before it answers.
    ctrl("i")
    chooser = wait_for(lambda: find(app, pyatspi.ROLE_DIALOG))
    if not check(chooser is not None, "the button opens a file dialog"):
        return
    name_field = wait_for(lambda: find(chooser, pyatspi.ROLE_TEXT, prefix="Datei"))
    if not check(name_field is not None, "the file dialog's name field is found by its label",
                 "; ".join("%s %r" % (a.getRoleName(), a.name) for a in walk(chooser)
                           if a.getRole() == pyatspi.ROLE_TEXT)):
        return
    name_field.queryEditableText().setTextContents(MEMBERLIST)
    open_button = find(chooser, pyatspi.ROLE_PUSH_BUTTON, "Öffnen")
    if not check(open_button is not None, "the file dialog has a button Öffnen"):
        return
    press(open_button)
    dialog = wait_for(lambda: find(app, pyatspi.ROLE_DIALOG, "Mitgliederliste übernehmen"))
    if not check(dialog is not None, "the import dialog opens and is named"):
        return
    time.sleep(0.5)  # its contents are filled in once it shows
    missing = unnamed(dialog)
    check(not missing, "every control of the import dialog has a name", "; ".join(missing))
    cancel = find(dialog, pyatspi.ROLE_PUSH_BUTTON, "Abbrechen")
    if check(cancel is not None, "the import dialog can be left with Abbrechen"):
        press(cancel)
        check(wait_gone(lambda: find(app, pyatspi.ROLE_DIALOG, "Mitgliederliste übernehmen")),
              "Abbrechen closes the import dialog")


def extents(acc):
    e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def read_recovery(app):
    box = wait_for(lambda: find(app, pyatspi.ROLE_ALERT))
    if not check(box is not None, "the recovery question is an alert",
                 "the program shows " + ", ".join("%s '%s'" % (w.getRoleName(), w.name)
                                                  for w in children(app))):
        return
    texts = [a.name for a in walk(box) if a.getRole() == pyatspi.ROLE_LABEL]
    check(box.name == "ZOR-Quorvane", "the recovery question is named ZOR-Quorvane", box.name)
    check(any("Sicherungskopie" in t and "wiederhergestellt" in t for t in texts),
          "the recovery question's text can be read", repr(texts))
    buttons = {a.name: a for a in walk(box) if a.getRole() == pyatspi.ROLE_PUSH_BUTTON}
    check({"Wiederherstellen", "Verwerfen"} <= set(buttons),
          "both answers are named buttons", repr(sorted(buttons)))
    focused = wait_for(lambda: [n for n, b in buttons.items()
                                if b.getState().contains(pyatspi.STATE_FOCUSED)], 5)
    check(bool(focused), "one of the answers has the focus, so it is read out")

    frame = find(app, pyatspi.ROLE_FRAME, "ZOR-Quorvane")
    if frame is not None:
        # The box stands over the middle of the main window, where the eye is.
        bx, by, bw, bh = extents(box)
        fx, fy, fw, fh = extents(frame)
        cx, cy = bx + bw // 2, by + bh // 2
        check(fx <= cx <= fx + fw and fy <= cy <= fy + fh
              and abs(cx - (fx + fw // 2)) < fw // 4 and abs(cy - (fy + fh // 2)) < fh // 4,
              "the recovery question opens over the main window",
              "box %r, window %r" % ((bx, by, bw, bh), (fx, fy, fw, fh)))
    if "Verwerfen" in buttons:
        press(buttons["Verwerfen"])
        check(wait_gone(lambda: find(app, pyatspi.ROLE_ALERT)), "Verwerfen closes the question")


def main():
    launcher = LAUNCHER
    check(bus_is_up(), "the accessibility bus is up")
    try:
        with tempfile.TemporaryDirectory() as home:
            report = os.path.join(home, "bericht.zor")
            write_report(report)

            proc, app = start(home, report)
            try:
                frame = read_window(app)
                if frame is not None:
                    read_import(app, frame)
                    # A change that is in no file, kept as a recovery copy...
                    name = find(frame, pyatspi.ROLE_TEXT, "Vereinsname (keine Kurzzeichen):")
                    name.queryEditableText().insertText(0, "TV ", 3)
                    folder = os.path.join(home, "data", "zor-quorvane", "recovery")
                    copy = wait_for(lambda: [f for f in os.listdir(folder)
                                             if not f.endswith(".lock")], 10)
                    check(bool(copy), "a change is kept as a recovery copy")
            finally:
                # ...and the program killed, as a crash would end it.
                stop(proc, signal.SIGKILL)

            proc, app = start(home)
            try:
                read_recovery(app)
            finally:
                stop(proc)
    finally:
        launcher.terminate()
        try:
            launcher.wait(timeout=10)
        except subprocess.TimeoutExpired:
            launcher.kill()
            launcher.wait()
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
