#!/usr/bin/python3
"""Prints what a screen reader takes as focused in one process over AT-SPI.

Usage: read_focus.py PID
One line per focused object:
"focus<TAB>role<TAB>name<TAB>columns<TAB>window<TAB>description", columns
being a table's column count (-1 for no table) and window the name of the
top-level window it is in. Tables are not walked into (their cells are the
table's own). Exit code 77: no accessibility bus to talk to (or no
pyatspi); 1: the process is not on it.
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
    # The top-level window being walked: the walk is depth first.
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
        # A table takes the focus through its cells: the cell under its cursor
        # is the focused one.
        if table is not None and showing and not focused:
            focused = table_has_focused_cell(table)
        if focused and showing:
            columns = table.nColumns if table is not None else -1
            print("focus\t%s\t%s\t%d\t%s\t%s"
                  % (clean(role), clean(node.name), columns, clean(window[0]), clean(node.description)))
        return table is None

    for app in applications(pid):
        walk(app, visit)
    return 0


if __name__ == "__main__":
    sys.exit(main())
