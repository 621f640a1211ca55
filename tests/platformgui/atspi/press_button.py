#!/usr/bin/python3
"""Presses a button of one process over AT-SPI as a screen reader does: by
the button's action, not by a click, so that it arrives whatever has the
pointer and the keyboard (a modal box included).

Usage: press_button.py PID WINDOW BUTTON [WHEN]
WINDOW is the name of a top-level window, BUTTON the name of a push button in
it; the button is looked for until it shows (at most ten seconds). With WHEN,
a path, the reader makes WHEN.ready once it has found the button and presses
it as soon as WHEN exists (at most thirty seconds later), so that the press comes at a moment of the caller's
choosing without the time a search takes. Exit code
0: pressed; 2: not found; 77: no accessibility bus (or no pyatspi); 1: the
process is not on it.
"""
import os
import sys
import time

from atspi_reading import NO_BUS, applications, need_pyatspi, pyatspi, walk

need_pyatspi(NO_BUS)


def find(pid, window, button):
    found = []

    def visit(node, role, depth):
        if found:
            return False
        if depth == 1:
            return node.name == window
        if role == "push button" and node.name == button:
            try:
                if node.getState().contains(pyatspi.STATE_SHOWING):
                    found.append(node)
            except Exception:
                pass
            return False
        return True

    for app in applications(pid):
        walk(app, visit)
    return found[0] if found else None


def main():
    pid, window, button = int(sys.argv[1]), sys.argv[2], sys.argv[3]
    deadline = time.time() + 10
    node = find(pid, window, button)
    while node is None:
        if time.time() > deadline:
            print("no button %r in %r" % (button, window), file=sys.stderr)
            return 2
        time.sleep(0.1)
        node = find(pid, window, button)
    if len(sys.argv) > 4:
        with open(sys.argv[4] + ".ready", "w"):
            pass
        deadline = time.time() + 30
        while not os.path.exists(sys.argv[4]):
            if time.time() > deadline:
                print("never told to press", file=sys.stderr)
                return 2
            time.sleep(0.005)
    action = node.queryAction()
    names = [action.getName(k) for k in range(action.nActions)]
    action.doAction(names.index("click") if "click" in names else 0)
    return 0


if __name__ == "__main__":
    sys.exit(main())
