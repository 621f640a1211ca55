#!/usr/bin/python3
"""Prints what a screen reader takes as focused in one process over AT-SPI.

Usage: read_focus.py PID
One line per focused object: "focus<TAB>role<TAB>name<TAB>columns<TAB>window",
columns being a table's column count (-1 for no table) and window the name
of the top-level window it is in. Tables are not walked into (their cells
are the table's own). Exit code 77: no accessibility bus to talk to; 1: the
process is not on it.
"""
import sys

try:
    import pyatspi
except ImportError as error:
    print("pyatspi is missing: %s" % error, file=sys.stderr)
    sys.exit(77)


def clean(text):
    return (text or "").replace("\t", " ").replace("\n", " ")


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


def walk(node, window, depth=0):
    if node is None or depth > 40:
        return
    try:
        role = node.getRoleName()
        states = node.getState()
        focused = states.contains(pyatspi.STATE_FOCUSED)
        showing = states.contains(pyatspi.STATE_SHOWING)
    except Exception:
        return
    if depth == 1:
        window = node.name
    try:
        table = node.queryTable()
    except NotImplementedError:
        table = None
    # A table takes the focus through its cells: the cell under its cursor
    # is the focused one.
    if table is not None and showing and not focused:
        focused = table_has_focused_cell(table)
    if focused and showing:
        columns = table.nColumns if table is not None else -1
        print("focus\t%s\t%s\t%d\t%s" % (clean(role), clean(node.name), columns, clean(window)))
    if table is not None:
        return
    for index in range(node.childCount):
        walk(node.getChildAtIndex(index), window, depth + 1)


def main():
    pid = int(sys.argv[1])
    try:
        desktop = pyatspi.Registry.getDesktop(0)
        apps = [app for app in desktop if app is not None and app.get_process_id() == pid]
    except Exception as error:
        print("no accessibility bus: %s" % error, file=sys.stderr)
        return 77
    if not apps:
        print("process %d is not on the accessibility bus" % pid, file=sys.stderr)
        return 1
    for app in apps:
        walk(app, "")
    return 0


if __name__ == "__main__":
    sys.exit(main())
