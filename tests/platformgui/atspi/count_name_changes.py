#!/usr/bin/python3
"""Counts what assistive tools are told of one process's accessible names and
descriptions changing, for a while.

Usage: count_name_changes.py PID SECONDS
One line per change: "change<TAB>name|description<TAB>role<TAB>new text".
Exit code 77: no accessibility bus to talk to.
"""
import sys

from atspi_reading import NO_BUS, clean, need_pyatspi, pyatspi

need_pyatspi(2)

from gi.repository import GLib  # noqa: E402 (pyatspi brings it)


def main():
    pid, seconds = int(sys.argv[1]), float(sys.argv[2])

    def changed(event):
        try:
            if event.source.get_process_id() != pid:
                return
            kind = "name" if event.type.endswith("accessible-name") else "description"
            print("change\t%s\t%s\t%s" % (kind, clean(event.source.getRoleName()), clean(str(event.any_data))))
            sys.stdout.flush()
        except Exception:
            pass

    try:
        pyatspi.Registry.registerEventListener(changed, "object:property-change:accessible-name",
                                               "object:property-change:accessible-description")
    except Exception as error:
        print("no accessibility bus: %s" % error, file=sys.stderr)
        return NO_BUS
    # Ready: the caller may start what it counts.
    print("listening")
    sys.stdout.flush()
    GLib.timeout_add(int(seconds * 1000), lambda: pyatspi.Registry.stop())
    pyatspi.Registry.start()
    return 0


if __name__ == "__main__":
    sys.exit(main())
