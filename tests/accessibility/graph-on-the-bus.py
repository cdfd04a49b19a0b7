#!/usr/bin/env python3
# What a screen reader gets from the window's picture, heard as an AT-SPI
# client hears it: starts the program, plots three formulas through the bus
# and checks the picture's name and description events; then focuses the
# picture, turns the trace on, steps it with the arrow keys and checks the
# announcements of the traced point and how often they come while a key is
# held. Run by graph-on-the-bus.sh inside its own D-Bus session and X display.
# Usage: graph-on-the-bus.py PROGRAM
import os
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

# How long the window may take to reach the bus, and any one reply.
STARTUP_SECONDS = 30
REPLY_SECONDS = 10
# Announcements come at most this often while a key is held. A busy machine
# may hand the listener two of them together, so the pace is judged by their
# count over the time and by the middle gap, not by the closest pair.
ANNOUNCE_INTERVAL = 0.100
DELIVERY_SLACK = 0.030
SPARE_ANNOUNCEMENTS = 2
# A held key: this many presses this far apart (faster than key repeat).
HELD_PRESSES = 40
HELD_PRESS_DELAY_MS = 15
# Single steps, far enough apart that each is announced.
SINGLE_STEPS = 3
SINGLE_STEP_PAUSE = 0.4
# Extra time after each step, for a screen reader listening as well.
STEP_PAUSE = float(os.environ.get("ORVALIS_BUS_PAUSE", "0"))

NAME_CHANGE = "object:property-change:accessible-name"
DESCRIPTION_CHANGE = "object:property-change:accessible-description"
ANNOUNCEMENT = "object:announcement"
FOCUS = "object:state-changed:focused"
SHOWING = "object:state-changed:showing"
PICTURE_NAME = "Graph of "
# The traced point as it is announced: a point, a gap, a root, an extremum.
NUMBER = r"-?[0-9.]+(e[+-]?[0-9]+)?"
POINT_TEXT = re.compile(rf"^((maximum|minimum) at )?x {NUMBER}, (y {NUMBER}|undefined)$|^root at x {NUMBER}$")

# The plots and what their descriptions must say over -10..10.
PLOTS = [
    ("x^2-4", "; 2 roots, 1 minimum; defined everywhere"),
    ("sqrt(x)", "; undefined in places"),
    ("sin(x)", "; 7 roots, 3 maxima, 3 minima; defined everywhere"),
]


class Failure(Exception):
    pass


class Heard:
    def __init__(self, kind, source, text, detail):
        self.time = time.monotonic()
        self.kind = kind
        self.source = source
        self.text = text
        self.detail = detail

    def __str__(self):
        return f"{self.time - START:8.3f} {self.kind} [{self.source}] {self.text!r}"


START = time.monotonic()


class Bus:
    """The events heard, and the main loop turned while waiting for them."""

    def __init__(self):
        self.heard = []
        self.picture_path = None
        pyatspi.Registry.registerEventListener(self.hear, NAME_CHANGE, DESCRIPTION_CHANGE, ANNOUNCEMENT, FOCUS,
                                               SHOWING)

    def hear(self, event):
        source = "picture" if self.picture_path and event.source.path == self.picture_path else event.source_name
        # The toolkit sends the changed object rather than its new text; a
        # screen reader then reads the text from the object, as here.
        text = event.any_data
        if not isinstance(text, str):
            text = event.source.description if event.type == DESCRIPTION_CHANGE else event.source.name
        if event.type == SHOWING:
            # Of the objects that appear, screen readers speak notifications.
            if not event.detail1 or event.source.getRole() != pyatspi.ROLE_NOTIFICATION:
                return
            source = "notification"
        self.heard.append(Heard(event.type, source, text, event.detail1))

    def turn(self, seconds):
        context = GLib.MainContext.default()
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if not context.iteration(False):
                time.sleep(0.002)

    def wait_for(self, what, found, seconds=REPLY_SECONDS):
        context = GLib.MainContext.default()
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            result = found()
            if result:
                return result
            if not context.iteration(False):
                time.sleep(0.002)
        raise Failure(f"no {what} within {seconds} s")

    def since(self, mark, kind=None, source="picture"):
        return [h for h in self.heard[mark:] if (kind is None or h.kind == kind) and h.source == source]


def walk(accessible):
    yield accessible
    for i in range(accessible.childCount):
        child = accessible.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def find(root, roles, name):
    for accessible in walk(root):
        # Roles by number: their names change between AT-SPI releases
        # ("push button" became "button").
        if accessible.getRole() in roles and accessible.name == name:
            return accessible
    return None


def find_application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def xdotool(bus, *arguments):
    """Runs xdotool while the events keep being heard, each when it comes."""
    tool = subprocess.Popen(["xdotool", *arguments])
    bus.wait_for(f"end of xdotool {' '.join(arguments[:2])}", lambda: tool.poll() is not None)
    if tool.returncode != 0:
        raise Failure(f"xdotool {' '.join(arguments)} failed")


def plot(bus, app, formula, says):
    mark = len(bus.heard)
    find(app, (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY), "Formula").queryEditableText().setTextContents(formula)
    plot_now = find(app, (pyatspi.ROLE_PUSH_BUTTON,), "Plot now").queryAction()
    plot_now.doAction(0)
    name = PICTURE_NAME + "y = " + formula
    bus.wait_for(f'name change to "{name}"',
                 lambda: any(h.text == name for h in bus.since(mark, NAME_CHANGE)))
    described = bus.wait_for(f"description change after plotting {formula}",
                             lambda: bus.since(mark, DESCRIPTION_CHANGE))[-1].text
    if not (described.startswith("x from -10 to 10, y from ") and described.endswith(says)):
        raise Failure(f"{formula}: the description heard is {described!r}, expected it to end with {says!r}")
    print(f"plotted {formula}: heard {described!r}")
    bus.turn(STEP_PAUSE)


def announcements(bus, mark, picture_name):
    """The traced points announced since mark: announcement events, changes
    of the picture's name to "name: point", or notifications that appear,
    where the toolkit has no announcement event."""
    said = []
    for h in bus.heard[mark:]:
        if h.kind == ANNOUNCEMENT or (h.kind == SHOWING and h.source == "notification"):
            said.append((h.time, h.text))
        elif h.kind == NAME_CHANGE and h.source == "picture" and h.text.startswith(picture_name + ": "):
            said.append((h.time, h.text[len(picture_name) + 2:]))
    return said


def trace(bus, picture):
    picture_name = picture.name
    mark = len(bus.heard)
    if not picture.queryComponent().grabFocus():
        raise Failure("the picture refused the focus asked for over the bus")
    bus.wait_for("focus event of the picture",
                 lambda: any(h.detail == 1 for h in bus.since(mark, FOCUS)))
    bus.turn(STEP_PAUSE)
    xdotool(bus, "key", "ctrl+t")
    bus.wait_for("announcement of the first traced point", lambda: announcements(bus, mark, picture_name))
    bus.turn(SINGLE_STEP_PAUSE)
    for step in range(SINGLE_STEPS):
        before = len(announcements(bus, mark, picture_name))
        xdotool(bus, "key", "Right")
        bus.wait_for(f"announcement after Right number {step + 1}",
                     lambda: len(announcements(bus, mark, picture_name)) > before)
        bus.turn(SINGLE_STEP_PAUSE + STEP_PAUSE)
    said = announcements(bus, mark, picture_name)
    if len(said) != SINGLE_STEPS + 1 or len({text for _, text in said}) != len(said):
        raise Failure(f"the trace's start and {SINGLE_STEPS} steps announced {[t for _, t in said]}")
    print("single steps announced:", [t for _, t in said])

    held = len(bus.heard)
    started = time.monotonic()
    xdotool(bus, "key", "--delay", str(HELD_PRESS_DELAY_MS), *["Right"] * HELD_PRESSES)
    held_for = time.monotonic() - started
    bus.turn(3 * ANNOUNCE_INTERVAL + SINGLE_STEP_PAUSE + STEP_PAUSE)
    burst = announcements(bus, held, picture_name)
    times = [t for t, _ in burst]
    gaps = sorted(b - a for a, b in zip(times, times[1:]))
    middle_gap = gaps[len(gaps) // 2] if gaps else ANNOUNCE_INTERVAL
    print(f"held Right for {held_for:.3f} s: {len(burst)} announcements, "
          f"closest {gaps[0] * 1000 if gaps else 0:.0f} ms apart, middle gap {middle_gap * 1000:.0f} ms")
    if not burst:
        raise Failure("holding Right announced nothing")
    allowed = int((times[-1] - started) / ANNOUNCE_INTERVAL) + SPARE_ANNOUNCEMENTS
    if len(burst) > allowed or middle_gap < ANNOUNCE_INTERVAL - DELIVERY_SLACK:
        raise Failure(f"{len(burst)} announcements while a key was held for {held_for:.3f} s, "
                      f"{middle_gap * 1000:.0f} ms apart in the middle")
    for _, text in said + burst:
        if not POINT_TEXT.match(text):
            raise Failure(f"an announcement says {text!r}, not a traced point")
    # The point where the marker came to rest is the last one said: where
    # notifications carry it, the one the picture holds now.
    notice = next((a for a in walk(picture) if a.getRole() == pyatspi.ROLE_NOTIFICATION), None)
    if notice is not None and notice.name:
        print(f"the marker rests at {notice.name!r}, the last said {burst[-1][1]!r}")
    if notice is not None and notice.name and burst[-1][1] != notice.name:
        raise Failure(f"the last announcement {burst[-1][1]!r} is not where the marker rests ({notice.name!r})")


def main():
    program = sys.argv[1]
    bus = Bus()
    process = subprocess.Popen([program], env=dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
    try:
        def started():
            if process.poll() is not None:
                raise Failure(f"Orvalis ended at the start with status {process.returncode}")
            return find_application(process.pid)

        app = bus.wait_for("Orvalis on the accessibility bus", started, STARTUP_SECONDS)
        picture = bus.wait_for("picture named Graph of ...",
                               lambda: next((a for a in walk(app) if a.name.startswith(PICTURE_NAME)), None))
        bus.picture_path = picture.path
        # The window active, as a user's is: without a window manager it
        # becomes so when it has the X input focus.
        window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Orvalis$"],
                                capture_output=True, text=True, timeout=REPLY_SECONDS).stdout.split()[0]
        xdotool(bus, "windowfocus", "--sync", window)
        bus.turn(STEP_PAUSE)
        print(f"picture: role {picture.getRoleName()!r}, name {picture.name!r}")
        print(f"         description {picture.description!r}")
        for formula, says in PLOTS:
            plot(bus, app, formula, says)
        if picture.description != bus.since(0, DESCRIPTION_CHANGE)[-1].text:
            raise Failure("the picture's description read back differs from the last one announced")
        trace(bus, picture)
    except Failure as failure:
        print("FAIL:", failure, file=sys.stderr)
        print("Heard:", *bus.heard, sep="\n  ", file=sys.stderr)
        return 1
    finally:
        process.terminate()
        try:
            process.wait(REPLY_SECONDS)
        except subprocess.TimeoutExpired:
            process.kill()
    print("Heard:", *bus.heard, sep="\n  ")
    return 0


sys.exit(main())
