#!/usr/bin/python3
"""Plays the game the way a blind child's screen reader meets it.

Everything the script knows about the game it reads from the accessibility tree (AT-SPI over the
session's D-Bus), as a screen reader does; every key goes in through the X server (xdotool). It
plays a timed run of 100 random problems, reading each problem in words, answers one wrongly and
listens for the announcement, then enters its name for the top times and joins the club.

Usage: play-with-screen-reader.py GAME CLUB_NAME
Needs DISPLAY (with a window manager) and a D-Bus session (dbus-run-session) around it.
"""
import os
import re
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

STEP_TIMEOUT = 20.0
MAIN_TITLE = "Pellmoor - Sumdash!"
WRONG_MARK = "Wrong answer, try again"
PROBLEM_WORDS = re.compile(r"^(\d+) (plus|minus|times|divided by) (\d+)$")


class Failure(Exception):
    pass


def pump(seconds=0.0):
    """Lets AT-SPI deliver the events it holds, for at least the given time."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while True:
        while context.iteration(False):
            pass
        if time.monotonic() >= end:
            return
        time.sleep(0.005)


def wait_for(what, predicate, timeout=STEP_TIMEOUT):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        pump()
        try:
            result = predicate()
        except GLib.Error:
            result = None  # an object went away while it was read; ask again
        if result:
            return result
        time.sleep(0.01)
    raise Failure("waited %d s for %s" % (timeout, what))


def keys(*names):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *names], check=True)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "5", text], check=True)


def walk(node, depth=0):
    if node is None or depth > 12:
        return
    yield node
    for index in range(node.get_child_count()):
        yield from walk(node.get_child_at_index(index), depth + 1)


def states(node):
    return node.get_state_set()


def has_state(node, state):
    return states(node).contains(state)


def answer_text(box):
    return Atspi.Text.get_text(box, 0, -1)


class Listener:
    """What a screen reader hears: notifications appearing, windows becoming active."""

    def __init__(self):
        self.announced = []
        self.windows = []
        self._listener = Atspi.EventListener.new(self._heard)
        self._listener.register("object:state-changed:showing")
        self._listener.register("window:activate")

    def _heard(self, event):
        try:
            if event.type.startswith("window:activate"):
                self.windows.append(event.source.get_name())
            elif event.detail1 == 1 and event.source.get_role() == Atspi.Role.NOTIFICATION:
                self.announced.append(event.source.get_name())
        except GLib.Error:
            pass


class Game:
    def __init__(self, path):
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.process = subprocess.Popen([path], env=env)
        self.app = wait_for("the game on the accessibility bus", self._find_app)
        # A screen reader asks afresh each time; cached answers could be a problem behind.
        self.app.set_cache_mask(Atspi.Cache.NONE)

    def _find_app(self):
        desktop = Atspi.get_desktop(0)
        for index in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(index)
            if app is not None and app.get_process_id() == self.process.pid:
                return app
        return None

    def active_window(self):
        for index in range(self.app.get_child_count()):
            window = self.app.get_child_at_index(index)
            if window is not None and has_state(window, Atspi.StateType.ACTIVE):
                return window
        return None

    def active_title(self):
        window = self.active_window()
        return window.get_name() if window is not None else None

    def wait_window(self, title):
        return wait_for('the window "%s"' % title, lambda: self.active_title() == title and self.active_window())

    def focused(self):
        window = self.active_window()
        if window is None:
            return None
        for node in walk(window):
            if has_state(node, Atspi.StateType.FOCUSED):
                return node
        return None

    def find(self, window, role, name):
        for node in walk(window):
            if node.get_role() == role and node.get_name() == name:
                return node
        return None


# The controls a person can reach with the keyboard: each must have a name a screen reader says.
REACHABLE = {Atspi.Role.PUSH_BUTTON, Atspi.Role.TEXT, Atspi.Role.CHECK_BOX, Atspi.Role.COMBO_BOX,
             Atspi.Role.TABLE}


named_controls = []


def require_names(window, reached_by=Atspi.StateType.FOCUSABLE):
    """The main window is worked from its menus and toolbar, which take no keyboard focus: there
    every showing button and menu item counts."""
    roles = REACHABLE | {Atspi.Role.MENU_ITEM}
    reachable = [node for node in walk(window)
                 if node.get_role() in roles and has_state(node, Atspi.StateType.SHOWING)
                 and has_state(node, reached_by)]
    nameless = [node.get_role_name() for node in reachable if not node.get_name()]
    if not reachable or nameless:
        raise Failure('controls without a name in "%s": %s' % (window.get_name(), nameless or "all"))
    named_controls.extend(node.get_name() for node in reachable)


def worked_out(words):
    match = PROBLEM_WORDS.match(words)
    if match is None:
        raise Failure("the problem is not in words: %r" % words)
    top, operation, bottom = int(match.group(1)), match.group(2), int(match.group(3))
    answers = {"plus": top + bottom, "minus": top - bottom, "times": top * bottom}
    return operation, answers[operation] if operation in answers else top // bottom


def play(game_path, club_name):
    listener = Listener()
    game = Game(game_path)
    try:
        play_game(game, listener, club_name)
    finally:
        if game.process.poll() is None:
            game.process.kill()


def play_game(game, listener, club_name):
    main = game.wait_window(MAIN_TITLE)

    require_names(main, reached_by=Atspi.StateType.SHOWING)
    keys("F5")
    require_names(game.wait_window("Select Problem Type:"))
    keys("Tab", "Tab", "Tab", "Tab")
    wait_for('the focus on "Random"', lambda: (game.focused() or main).get_name() == "Random")
    keys("space")

    def focused_answer_box():
        box = game.find(main, Atspi.Role.TEXT, "Answer")
        return box if box is not None and has_state(box, Atspi.StateType.FOCUSED) else None

    box = wait_for("the answer box with the focus, after the countdown", focused_answer_box)
    page = box.get_parent()
    operations = set()
    for problem in range(100):
        words = wait_for("problem %d in words" % (problem + 1), box.get_description)
        if page.get_name() != words:
            raise Failure("the page reads %r, the answer box %r" % (page.get_name(), words))
        operation, answer = worked_out(words)
        operations.add(operation)
        if problem == 4:
            # Wrong, with Enter held: the red X shows only while the key is down.
            type_text(str(answer + 1))
            subprocess.run(["xdotool", "keydown", "Return"], check=True)
            wait_for("the wrong answer announced", lambda: WRONG_MARK in listener.announced)
            subprocess.run(["xdotool", "keyup", "Return"], check=True)
            wait_for("the wrong answer cleared", lambda: answer_text(box) == "")
        type_text(str(answer))
        wait_for("%s typed for %r" % (answer, words), lambda: answer_text(box) == str(answer))
        keys("Return")
        if problem < 99:
            wait_for("the answer to %r taken" % words, lambda: answer_text(box) == "")
    if operations != {"plus", "minus", "times", "divided by"}:
        raise Failure("a random run of 100 read only %s" % sorted(operations))

    # The end of the run: the name prompt for the top time, the board, then the results.
    prompt = game.wait_window("Great Time!")
    require_names(prompt)
    if not any(node.get_name() == "Please enter your name:" for node in walk(prompt)):
        raise Failure("the name prompt does not say what it wants")
    keys("ctrl+a")
    type_text("Screen Reader")
    keys("Return")
    board = game.wait_window("Sumdash! Top Times:")
    require_names(board)
    if game.find(board, Atspi.Role.LABEL, "Screen Reader") is None:
        raise Failure("the top-times board does not list the new name")
    keys("Escape")
    require_names(game.wait_window("Sumdash! Stats:"))
    wait_for('the focus on "Join Sumdash Club!"', lambda: (game.focused() or main).get_name() == "Join Sumdash Club!")
    keys("space")
    game.wait_window("Great Time!")
    keys("ctrl+a")
    type_text(club_name)
    keys("Return")
    require_names(game.wait_window("Sumdash Club:"))
    keys("Escape")
    game.wait_window("Sumdash! Stats:")
    keys("Escape")
    game.wait_window(MAIN_TITLE)
    if "Sumdash! Stats:" not in listener.windows:
        raise Failure("the results window was never announced; heard %s" % listener.windows)
    keys("ctrl+e")
    status = game.process.wait(timeout=STEP_TIMEOUT)
    if status != 0:
        raise Failure("the game ended with status %d after Exit" % status)
    print("screen reader: read 100 problems in words (%s), heard the wrong answer and the results;"
          " %d controls in 6 windows all named" % (", ".join(sorted(operations)), len(named_controls)))


if __name__ == "__main__":
    try:
        play(sys.argv[1], sys.argv[2])
    except Failure as failure:
        print("screen reader: %s" % failure)
        sys.exit(1)
