#!/usr/bin/python3
"""Prints what a screen reader is told of the focus by one process for a
while: each object that takes the focus, as the event names it, whether or
not a walk down from its window would reach it (a drop list's button is
such an object).

Usage: listen_focus.py PID SECONDS
Prints "listening" once ready, then one line per object that took the focus:
"focus<TAB>role<TAB>name<TAB>description<TAB>window".
Exit code 77: no accessibility bus to talk to.
"""
import sys

from atspi_reading import NO_BUS, clean, listen, need_pyatspi

need_pyatspi(NO_BUS)


def window_of(node):
    """The name of the top-level window the node is in."""
    name = ""
    for _ in range(40):
        try:
            parent = node.parent
            if parent is None or parent.getRoleName() == "application":
                return node.name
        except Exception:
            return name
        node = parent
    return name


def main():
    pid, seconds = int(sys.argv[1]), float(sys.argv[2])

    def told(event):
        try:
            if not event.detail1 or event.source.get_process_id() != pid:
                return
            source = event.source
            print("focus\t%s\t%s\t%s\t%s" % (clean(source.getRoleName()), clean(source.name),
                                             clean(source.description), clean(window_of(source))))
            sys.stdout.flush()
        except Exception:
            pass

    return listen(told, ("object:state-changed:focused",), seconds)


if __name__ == "__main__":
    sys.exit(main())
