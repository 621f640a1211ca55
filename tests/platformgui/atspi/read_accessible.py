#!/usr/bin/python3
"""Prints what assistive tools read over AT-SPI of one process's windows.

Usage: read_accessible.py PID ROWS  (ROWS: how many rows of each table)
One line per accessible object: "object<TAB>role<TAB>name<TAB>description";
one per table cell: "cell<TAB>table name<TAB>row<TAB>column<TAB>text".
Exit code 77: no accessibility bus to talk to.
"""
import sys

try:
    import pyatspi
except ImportError as error:
    print("pyatspi is missing: %s" % error, file=sys.stderr)
    sys.exit(2)


def clean(text):
    return (text or "").replace("\t", " ").replace("\n", " ")


def walk(node, rows, depth=0):
    if node is None or depth > 40:
        return
    try:
        role = node.getRoleName()
        print("object\t%s\t%s\t%s" % (clean(role), clean(node.name), clean(node.description)))
    except Exception:
        return
    try:
        table = node.queryTable()
    except NotImplementedError:
        table = None
    if table is not None:
        for row in range(min(rows, table.nRows)):
            for column in range(table.nColumns):
                cell = table.getAccessibleAt(row, column)
                text = cell.name if cell is not None else ""
                print("cell\t%s\t%d\t%d\t%s" % (clean(node.name), row, column, clean(text)))
        return
    for index in range(node.childCount):
        walk(node.getChildAtIndex(index), rows, depth + 1)


def main():
    pid = int(sys.argv[1])
    rows = int(sys.argv[2])
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
        walk(app, rows)
    return 0


if __name__ == "__main__":
    sys.exit(main())
