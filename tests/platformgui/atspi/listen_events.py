#!/usr/bin/python3
"""Prints what assistive tools are told by one process for a while: changes
of accessible names and descriptions, and objects that come to be shown.

Usage: listen_events.py PID SECONDS
One line per event: "event<TAB>kind<TAB>role<TAB>name<TAB>new text", kind
being "name", "description" or "shown" (new text empty for "shown").
Exit code 77: no accessibility bus to talk to.
"""
import sys

from atspi_reading import clean, listen, need_pyatspi

need_pyatspi(2)


def main():
    pid, seconds = int(sys.argv[1]), float(sys.argv[2])

    def told(event):
        try:
            if event.source.get_process_id() != pid:
                return
            if event.type.startswith("object:state-changed:showing"):
                if not event.detail1:
                    return
                kind, text = "shown", ""
            else:
                kind = "name" if event.type.endswith("accessible-name") else "description"
                text = str(event.any_data)
            print("event\t%s\t%s\t%s\t%s" % (kind, clean(event.source.getRoleName()), clean(event.source.name),
                                             clean(text)))
            sys.stdout.flush()
        except Exception:
            pass

    return listen(told, ("object:property-change:accessible-name",
                         "object:property-change:accessible-description",
                         "object:state-changed:showing"), seconds)


if __name__ == "__main__":
    sys.exit(main())
