#!/usr/bin/python3
"""Counts what assistive tools are told of one process's accessible names and
descriptions changing, for a while.

Usage: count_name_changes.py PID SECONDS
One line per change: "change<TAB>name|description<TAB>role<TAB>new text".
Exit code 77: no accessibility bus to talk to.
"""
import sys

from atspi_reading import clean, listen, need_pyatspi

need_pyatspi(2)


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

    return listen(changed, ("object:property-change:accessible-name",
                            "object:property-change:accessible-description"), seconds)


if __name__ == "__main__":
    sys.exit(main())
