"""The demo as a screen reader meets it over AT-SPI (pyatspi), run by DemoA11yXvfbTest.sh. The
roles and states of each kind of control are the in-process tests' table; here, that they
arrive, and that actions, values and events go both ways.

Usage: DemoA11yClient.py APP-NAME WINDOW-X WINDOW-Y PLAY-X PLAY-Y PLAY-W PLAY-H EVENTS-FILE
(the demo's window and its play button as the demo printed them, and what it prints)."""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

app_name = sys.argv[1]
win_x, win_y, play_x, play_y, play_w, play_h = (int(v) for v in sys.argv[2:8])
events_file = sys.argv[8]
failures = []


def check(ok, what):
    print(("ok: " if ok else "FAIL: ") + what)
    if not ok:
        failures.append(what)


def wait_for(probe, seconds=10.0):
    end = time.time() + seconds
    while not (value := probe()) and time.time() < end:
        time.sleep(0.1)
    return value or None


def find_app():
    desktop = pyatspi.Registry.getDesktop(0)
    return next((a for a in desktop if a is not None and a.name == app_name), None)


def walk(acc):
    yield acc
    for c in acc:
        if c is not None:
            yield from walk(c)


def states(acc):
    return {pyatspi.stateToString(s) for s in acc.getState().getStates()}


def find(root, role, name=None, test=None):
    return next((a for a in walk(root) if a.getRoleName() == role and name in (None, a.name)
                 and (test is None or test(a))), None)


def region_shot(x, y, w, h):
    """The screen's pixels there, as the X server shows them."""
    return subprocess.run(["import", "-window", "root", "-depth", "8", "-crop", f"{w}x{h}+{x}+{y}", "rgb:-"],
                          check=True, capture_output=True).stdout


app = wait_for(find_app)
if app is None:
    sys.exit("FAIL: the demo did not appear on the accessibility bus")
check(app.getRoleName() == "application", "the application object has the application role")
frames = [c for c in app if c is not None]
check(len(frames) == 1 and frames[0].getRoleName() == "frame", "one frame under the application")
frame = frames[0]

# --- roles, names, states as AT-SPI names them, one row per kind ---
rows = [
    # role, name, states it has, states it has not
    ("push button", "Play", {"enabled", "focusable", "showing", "visible"}, {"checked"}),
    ("toggle button", "Repeat", {"enabled", "checkable"}, {"checked"}),
    ("check box", "Subtitles", {"enabled", "checkable"}, {"checked"}),
    ("push button", "Record", {"visible"}, {"enabled", "sensitive"}),
    ("panel", "Buttons", {"enabled"}, set()),
]
for role, name, has, lacks in rows:
    acc = find(frame, role, name)
    check(acc is not None, f"{role} {name!r} is in the tree")
    if acc is not None:
        s = states(acc)
        check(has <= s and not (lacks & s), f"{role} {name!r} states {sorted(s)}")

# --- the playlist as a table (its headers, checks and bad places are the in-process tests'),
# and a row selected through the selection interface, as a click selects it ---
playlist = find(frame, "table", "Playlist")
check(playlist is not None, "the playlist reads as a table named Playlist")
if playlist is not None:
    table = playlist.queryTable()
    rows = table.nRows
    check(rows >= 2 and table.nColumns == 6, f"{rows} rows of 6 columns")
    first = table.getAccessibleAt(0, 0)
    check(first is not None and first.name == "1", "the first row's number reads 1")
    check("checked" in states(table.getAccessibleAt(0, 5)), "the first row reads as checked")
    playlist.querySelection().selectChild(table.getIndexAt(1, 1))
    selected = wait_for(lambda: table.isRowSelected(1), 3)
    check(selected and "selected" in states(table.getAccessibleAt(1, 0)),
          "the second row and its cells were selected through the table")

play = find(frame, "push button", "Play")
ext = play.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
want = (win_x + play_x, win_y + play_y, play_w, play_h)
check((ext.x, ext.y, ext.width, ext.height) == want,
      f"Play lies at {(ext.x, ext.y, ext.width, ext.height)} on the screen, {want} expected")
uri = find(frame, "link").queryHyperlink().getURI(0)
check(uri.endswith("README.md"), f"the link's URL is the README ({uri!r})")
# A bad request is answered, and the application keeps answering (the checks below).
check(frame.getChildAtIndex(10000) is None, "a child index out of range answers nothing")

# --- the play button's action: playback starts, as the demo's time display shows ---
time_label = find(frame, "label", test=lambda a: len(a.name) == 4 and a.name.isdigit())
check(time_label is not None, "the time display reads as its digits")
before = time_label.name
action = play.queryAction()
check(action.nActions == 1 and action.getName(0) == "click", "Play has the action click")
check(action.doAction(0), "the click action is taken")
clicked = wait_for(lambda: "BN_CLICKED 1001 Play" in open(events_file).read(), 5)
check(clicked, "the demo heard a click of Play, as from the mouse")
moved = wait_for(lambda: time_label.name != before, 6)
check(moved, f"the time display moved from {before} to {time_label.name}: playback started")
status = find(frame, "label", test=lambda a: a.name.startswith("Clicked"))
check(status is not None and "Play" in status.name, "the status line says Play was clicked")
action.doAction(0)  # pause again, so that the picture below holds still

# --- the volume slider's value: the thumb moves, and comes back to the same picture (values
# out of range are the in-process tests') ---
volume = find(frame, "slider", test=lambda a: a.queryValue().maximumValue == 100)
check(volume is not None, "the volume slider is found by its range 0..100")
value = volume.queryValue()
start = value.currentValue
v = volume.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
shot = lambda: region_shot(v.x, v.y, v.width, v.height)
time.sleep(0.3)
picture_before = shot()
target = 20 if start > 50 else 80
value.currentValue = target
check(wait_for(lambda: value.currentValue == target, 3), f"the value reads {target}")
check(wait_for(lambda: shot() != picture_before, 3), "the slider's picture changed")
value.currentValue = start
check(wait_for(lambda: shot() == picture_before, 3),
      "set back, the slider shows the very picture it showed before")

# --- events: a check box's check follows its action (the focus signals are the in-process
# tests', the Tab keys through X the SDL backend's) ---
checked = []
on_checked = lambda event: checked.append((event.source.name, event.detail1))
pyatspi.Registry.registerEventListener(on_checked, "object:state-changed:checked")
subtitles = find(frame, "check box", "Subtitles")
subtitles.queryAction().doAction(0)
GLib.timeout_add(1500, lambda: pyatspi.Registry.stop() or False)
pyatspi.Registry.start()
pyatspi.Registry.deregisterEventListener(on_checked, "object:state-changed:checked")
check(checked == [("Subtitles", 1)], f"the check box's action checked it, and said so: {checked}")
check("checked" in states(subtitles), "the check box reads as checked")

print("\n".join(["", f"{len(failures)} failed"]))
sys.exit(1 if failures else 0)
