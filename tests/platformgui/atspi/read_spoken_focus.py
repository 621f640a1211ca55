#!/usr/bin/python3
"""Prints what a screen reader says of the focused object of one process
over AT-SPI: its role, name and description, and the window it is in.

Usage: read_spoken_focus.py PID
One line per focused object: "focus<TAB>role<TAB>name<TAB>description<TAB>window".
A table counts as focused when one of its first cells is (its cells are the
table's own, and not walked into). Exit code 77: no accessibility bus to
talk to (or no pyatspi); 1: the process is not on it.
"""
import sys

from atspi_reading import NO_BUS, applications, clean, need_pyatspi, pyatspi, table_of, walk

need_pyatspi(NO_BUS)


def table_has_focused_cell(table, rows=80):
    for row in range(min(rows, table.nRows)):
        for column in range(table.nColumns):
            cell = table.getAccessibleAt(row, column)
            try:
                if cell is not None and cell.getState().contains(pyatspi.STATE_FOCUSED):
                    return True
            except Exception:
                pass
    return False


def main():
    pid = int(sys.argv[1])
    window = [""]

    def visit(node, role, depth):
        try:
            states = node.getState()
            focused = states.contains(pyatspi.STATE_FOCUSED)
            showing = states.contains(pyatspi.STATE_SHOWING)
        except Exception:
            return False
        if depth <= 1:
            window[0] = node.name if depth == 1 else ""
        table = table_of(node)
        if table is not None and showing and not focused:
            focused = table_has_focused_cell(table)
        if focused and showing:
            print("focus\t%s\t%s\t%s\t%s" % (clean(role), clean(node.name), clean(node.description), clean(window[0])))
        return table is None

    for app in applications(pid):
        walk(app, visit)
    return 0


if __name__ == "__main__":
    sys.exit(main())
