#!/usr/bin/env python3
"""Reads the program's windows as a screen reader does, over AT-SPI, while driving it with the keyboard.

Started by scripts/a11y.sh inside a private session bus with the accessibility bus and registry running
and the program already started (its process id in NORVELIA_PID). It fails on an interactive object
without a name, a maxim, search excerpt or document that cannot be read, or a wrong focus state (not
exactly one focused object, or not the one that should have it).
"""
import os
import re
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402,F401
import pyatspi  # noqa: E402

PID = int(os.environ["NORVELIA_PID"])
WAIT = float(os.environ.get("A11Y_WAIT", "60"))

INTERACTIVE = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_PASSWORD_TEXT,
    pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_BOX, pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_SCROLL_BAR,
    pyatspi.ROLE_SLIDER, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_TABLE,
    pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_MENU,
}
FRAMES = {pyatspi.ROLE_FRAME, pyatspi.ROLE_WINDOW, pyatspi.ROLE_DIALOG}
failures = []
heard = []  # (event type, role of the source, name of the source), as a reader hears them


def on_event(event):
    try:
        heard.append((event.type, event.source.getRole(), event.source.name or ""))
    except Exception:
        heard.append((event.type, None, ""))


def pump():
    """Lets the events that arrived reach on_event."""
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass


def heard_since(mark, kind, role):
    return [h for h in heard[mark:] if h[0].startswith(kind) and h[1] == role]


def step(text):
    print("a11y: " + text, flush=True)


def fail(text):
    print("a11y: FAIL " + text, flush=True)
    failures.append(text)


def fatal(text):
    print("a11y: FAIL " + text, flush=True)
    sys.exit(1)


def poll(what, probe, timeout=WAIT):
    """The first true answer of probe(), retried until the deadline; fatal when there is none."""
    deadline = time.monotonic() + timeout
    last_error = None
    while time.monotonic() < deadline:
        pump()
        try:
            answer = probe()
            if answer:
                return answer
        except Exception as e:  # an object that went away while it was read: read again
            last_error = e
        time.sleep(0.2)
    fatal("timed out waiting for %s%s" % (what, " (%s)" % last_error if last_error else ""))


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None:
            continue
        try:
            if app.get_process_id() == PID:
                return app
        except Exception:
            continue
    return None


def fresh(acc):
    acc.clear_cache()
    return acc


def states(acc):
    return acc.getState()


def showing(acc):
    s = states(acc)
    return s.contains(pyatspi.STATE_SHOWING) or s.contains(pyatspi.STATE_VISIBLE)


def children(acc):
    out = []
    for i in range(acc.childCount):
        c = acc.getChildAtIndex(i)
        if c is not None:
            out.append(c)
    return out


def walk(acc, depth=0):
    yield acc
    if depth > 40:
        return
    for c in children(acc):
        yield from walk(c, depth + 1)


def shown_frames():
    app = fresh(poll("the program on the accessibility bus", application))
    return [f for f in children(app) if f.getRole() in FRAMES and showing(f)]


def frame(pattern, what):
    rx = re.compile(pattern)

    def probe():
        for f in shown_frames():
            if rx.search(f.name or ""):
                return f
        return None

    return poll(what, probe)


def describe(acc):
    return "%s %r" % (acc.getRoleName(), acc.name)


def check_names(f, what):
    unnamed = []
    for acc in walk(fresh(f)):
        role = acc.getRole()
        if role in INTERACTIVE and not (acc.name or "").strip():
            parent = acc.parent
            unnamed.append("%s in %s" % (acc.getRoleName(), describe(parent) if parent else "?"))
    if unnamed:
        fail("%s: %d interactive objects without a name: %s" % (what, len(unnamed), "; ".join(unnamed)))
    else:
        step("%s: every interactive object is named" % what)


def focused_objects():
    found = []
    for f in shown_frames():
        for acc in walk(f):
            if states(acc).contains(pyatspi.STATE_FOCUSED):
                found.append(acc)
    return found


def check_focus(what, expect):
    """Exactly one object of the program is focused, and expect(acc) holds for it."""
    deadline = time.monotonic() + WAIT
    found = []
    while time.monotonic() < deadline:
        pump()
        try:
            found = focused_objects()
            if len(found) == 1 and expect(found[0]):
                step("%s: the one focused object is %s" % (what, describe(found[0])))
                return found[0]
        except Exception:
            pass
        time.sleep(0.3)
    fail("%s: focused objects: [%s]" % (what, ", ".join(describe(a) for a in found)))
    return None


def find(f, role, pattern=None):
    rx = re.compile(pattern) if pattern else None
    for acc in walk(fresh(f)):
        if acc.getRole() == role and (rx is None or rx.search(acc.name or "")):
            return acc
    return None


def text_of(acc):
    t = acc.queryText()
    return t.getText(0, -1)


# --- driving, as smoke.sh does -------------------------------------------------------------------------
def xdo(*args):
    return subprocess.run(["timeout", "15", "xdotool", *args], capture_output=True, text=True).stdout.strip()


def x_window(pattern):
    rx = re.compile(pattern)
    for w in xdo("search", "--all", "--onlyvisible", "--pid", str(PID), "--name", ".*").split():
        if rx.search(xdo("getwindowname", w)):
            return w
    return None


def keys(pattern, *names):
    w = poll("the X window %s" % pattern, lambda: x_window(pattern))
    if subprocess.run(["timeout", "15", "xdotool", "windowactivate", "--sync", w], capture_output=True).returncode:
        xdo("windowfocus", "--sync", w)
    xdo("key", "--clearmodifiers", "--delay", "80", *names)


def type_text(pattern, text):
    w = poll("the X window %s" % pattern, lambda: x_window(pattern))
    xdo("windowactivate", "--sync", w)
    xdo("type", "--delay", "60", text)


# --- the windows ---------------------------------------------------------------------------------------
pyatspi.Registry.registerEventListener(on_event, "object:text-changed", "object:text-caret-moved",
                                       "object:property-change:accessible-value", "object:state-changed:focused")
step("the splash")
splash = frame(r"\S", "the splash on the accessibility bus")
if "iniziare" not in (splash.description or ""):
    fail("the splash says nothing of how to go on: %r" % splash.description)
picture = find(splash, pyatspi.ROLE_IMAGE)
if picture is None or not picture.name:
    fail("the splash picture has no text alternative")
check_names(splash, "splash")
# Going on without a mouse: the window's press action is a click on it.
action = splash.queryAction()
names = [action.getName(i) for i in range(action.nActions)]
press = [i for i, n in enumerate(names) if n.lower() == "press"]
if not press:
    fatal("the splash %r offers no press action among %s" % (splash.name, names))
action.doAction(press[0])

menu_title = r"^Norvelia: menu degli archivi"
menu = frame(menu_title, "the archive menu")
check_names(menu, "archive menu")
radios = [a for a in walk(fresh(menu)) if a.getRole() == pyatspi.ROLE_RADIO_BUTTON]
if len(radios) != 7:
    fail("archive menu: %d radio buttons instead of 7 (%s)" % (len(radios), ", ".join(describe(r) for r in radios)))
check_focus("archive menu", lambda a: a.getRole() == pyatspi.ROLE_RADIO_BUTTON and a.name == "Edilizia")

step("Condominio from the menu, then the first topic")
keys(menu_title, "Down", "Down", "Down", "Down", "space")
archive_title = r"^Norvelia: condominio$"
archive = frame(archive_title, "the condominio archive window")
mark = len(heard)
keys(archive_title, "Down")
poll("the focus on the chosen topic told",
     lambda: heard_since(mark, "object:state-changed:focused", pyatspi.ROLE_LIST_ITEM))
topics = poll("the topic list", lambda: find(archive, pyatspi.ROLE_LIST, r"^Argomenti$"))
maxim = poll("the maxim text", lambda: find(archive, pyatspi.ROLE_TEXT, r"^Testo della massima$"))
poll("a maxim in the text box", lambda: len(text_of(fresh(maxim)).strip()) > 40)
check_names(archive, "archive window")
check_focus("archive window, topic list", lambda a: a.getRole() == pyatspi.ROLE_LIST_ITEM and "1)" in a.name)
bar = poll("the maxim scroll bar", lambda: find(archive, pyatspi.ROLE_SCROLL_BAR, r"^Massima n\. 1 di \d+$"))
first = text_of(maxim)

step("Tab to the maxim scroll bar, Right")
keys(archive_title, "Tab")
check_focus("archive window after Tab", lambda a: a.getRole() == pyatspi.ROLE_SCROLL_BAR and a.name.startswith("Massima n. 1 di "))
mark = len(heard)
keys(archive_title, "Right")
poll("the scroll bar at maxim 2", lambda: fresh(bar).queryValue().currentValue == 2 and bar.name.startswith("Massima n. 2 di "))
poll("the second maxim's text", lambda: text_of(fresh(maxim)) not in ("", first))
poll("the value change of the scroll bar told",
     lambda: heard_since(mark, "object:property-change:accessible-value", pyatspi.ROLE_SCROLL_BAR))
poll("the text change of the maxim told", lambda: heard_since(mark, "object:text-changed", pyatspi.ROLE_TEXT))
step("archive window: the step was told as a value change and a text change")
step("archive window: the second maxim reads %d characters" % len(text_of(maxim)))

step("the search window (F3), a query typed")
keys(archive_title, "F3")
search_title = r"^Norvelia: ricerca nelle massime$"
search = frame(search_title, "the search window")
type_text(search_title, "cortile")


def result_rows():
    lst = find(search, pyatspi.ROLE_LIST, r"^Massime trovate$")
    if lst is None:
        return None
    rows = [r for r in children(fresh(lst)) if r.getRole() == pyatspi.ROLE_LIST_ITEM]
    return rows or None


rows = poll("the results of the query", result_rows)
check_names(search, "search window")
check_focus("search window while typing", lambda a: a.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY))
row = rows[0]
row_text = "%s %s" % (row.name or "", row.description or "")
# The heading (archive, topic, number, citation) never holds the word: only an excerpt can.
if "cortile" not in row_text.lower():
    fail("search window: the first result reads only %r, no excerpt" % row_text)
else:
    step("search window: the first result reads its excerpt")


def reading_text():
    for acc in walk(fresh(search)):
        if (acc.name or "") != "Massima scelta":
            continue
        try:
            text = text_of(acc)
        except NotImplementedError:
            continue
        if "cortile" in text.lower() and len(text) > 200:
            return text
    return None


# The reading pane holds the whole maxim of the chosen hit, its words and its citation.
reading = poll("the reading pane to read the chosen maxim", reading_text)
step("search window: the reading pane reads %d characters" % len(reading))
keys(search_title, "Escape")

step("all maxims of the topic printed to a document window")
keys(archive_title, "alt+f", "t", "t")
doc_title = r" - Elaboratore di testi Norvelia$"
document = frame(doc_title, "the document window")
check_names(document, "document window")
page = poll("the document's text", lambda: find(document, pyatspi.ROLE_TEXT))
check_focus("document window", lambda a: a.getRole() == pyatspi.ROLE_TEXT)
body = poll("a readable document", lambda: text_of(fresh(page)) if len(text_of(page)) > 200 else None)
text = page.queryText()
line = text.getTextAtOffset(0, pyatspi.TEXT_BOUNDARY_LINE_START)
paragraph_end = body.find("\n")
if not line[0].strip() or paragraph_end < 0:
    fail("document window: the first line reads %r" % (line,))
else:
    step("document window: %d characters; first line %r" % (len(body), line[0].strip()))
keys(doc_title, "ctrl+Home")
poll("the caret at the start of the document", lambda: fresh(page).queryText().caretOffset == 0)
mark = len(heard)
keys(doc_title, "Down")
poll("the caret to move down the document", lambda: fresh(page).queryText().caretOffset > 0)
poll("the caret's move told", lambda: heard_since(mark, "object:text-caret-moved", pyatspi.ROLE_TEXT))
step("document window: the caret followed to %d, and was told" % page.queryText().caretOffset)

if failures:
    print("a11y: %d failures" % len(failures), flush=True)
    sys.exit(1)
step("passed")
