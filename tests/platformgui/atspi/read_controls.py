#!/usr/bin/python3
"""Prints what a screen reader says of each control of one process's windows
as the focus reaches it: the window it is in, its role, name, description
and whether it takes the focus.

Usage: read_controls.py PID
One line per top-level window: "window<TAB>role<TAB>name"; one per object
below it: "control<TAB>window name<TAB>role<TAB>name<TAB>description<TAB>
focusable (1 or 0)<TAB>labelled by (names joined by '|')".
Exit code 77: no accessibility bus to talk to.
"""
import sys

from atspi_reading import applications, clean, need_pyatspi, pyatspi, walk

need_pyatspi(2)


def labelled_by(node):
    names = []
    try:
        for relation in node.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                for index in range(relation.getNTargets()):
                    names.append(clean(relation.getTarget(index).name))
    except Exception:
        pass
    return "|".join(names)


def main():
    pid = int(sys.argv[1])
    window = [""]

    def visit(node, role, depth):
        try:
            name, description = node.name, node.description
            focusable = node.getState().contains(pyatspi.STATE_FOCUSABLE)
        except Exception:
            return False
        if depth == 1:
            window[0] = name
            print("window\t%s\t%s" % (clean(role), clean(name)))
        elif depth > 1:
            print("control\t%s\t%s\t%s\t%s\t%d\t%s" % (clean(window[0]), clean(role), clean(name),
                                                     clean(description), 1 if focusable else 0,
                                                     labelled_by(node)))
        # A table's cells are the table's own: not walked into.
        return role not in ("table", "tree table", "tree")

    for app in applications(pid):
        walk(app, visit)
    return 0


if __name__ == "__main__":
    sys.exit(main())
