#!/usr/bin/python3
"""Prints what assistive tools read over AT-SPI of one process's windows.

Usage: read_accessible.py PID ROWS  (ROWS: how many rows of each table)
One line per accessible object: "object<TAB>role<TAB>name<TAB>description";
one per table cell: "cell<TAB>table name<TAB>row<TAB>column<TAB>text".
Exit code 77: no accessibility bus to talk to.
"""
import sys

from atspi_reading import applications, clean, need_pyatspi, table_of, walk

need_pyatspi(2)


def main():
    pid, rows = int(sys.argv[1]), int(sys.argv[2])

    def visit(node, role, depth):
        try:
            print("object\t%s\t%s\t%s" % (clean(role), clean(node.name), clean(node.description)))
        except Exception:
            return False
        table = table_of(node)
        if table is None:
            return True
        for row in range(min(rows, table.nRows)):
            for column in range(table.nColumns):
                cell = table.getAccessibleAt(row, column)
                text = cell.name if cell is not None else ""
                print("cell\t%s\t%d\t%d\t%s" % (clean(node.name), row, column, clean(text)))
        return False

    for app in applications(pid):
        walk(app, visit)
    return 0


if __name__ == "__main__":
    sys.exit(main())
