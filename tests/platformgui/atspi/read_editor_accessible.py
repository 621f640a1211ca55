#!/usr/bin/python3
"""Prints what assistive tools read of one window of a process over AT-SPI,
page by page: each control's role, name, description and the names of the
objects it is labelled and described by.

Usage: read_editor_accessible.py PID TITLE  (the shown window of that title)
Lines: "tab<TAB>tab name" where a notebook page begins, "endtab" where it ends;
"object<TAB>role<TAB>name<TAB>description<TAB>labelled by<TAB>described by<TAB>showing"
(several names joined by " | "; showing is 1 or 0).
Exit code 77: no accessibility bus to talk to; 1: no such window.
"""
import sys

from atspi_reading import applications, clean, need_pyatspi, pyatspi, walk, walk_children

need_pyatspi(2)

ROLES = {"push button", "text", "password text", "combo box", "label"}


def related(node, kind):
    names = []
    try:
        for relation in node.getRelationSet():
            if relation.getRelationType() != kind:
                continue
            for index in range(relation.getNTargets()):
                target = relation.getTarget(index)
                names.append(clean(target.name if target is not None else ""))
    except Exception:
        pass
    return " | ".join(names)


def visit(node, role, depth):
    if role == "page tab":
        print("tab\t%s" % clean(node.name))
        walk_children(node, visit, depth)
        print("endtab")
        return False
    if role in ROLES:
        showing = node.getState().contains(pyatspi.STATE_SHOWING)
        print("object\t%s\t%s\t%s\t%s\t%s\t%d" % (
            role, clean(node.name), clean(node.description),
            related(node, pyatspi.RELATION_LABELLED_BY),
            related(node, pyatspi.RELATION_DESCRIBED_BY), 1 if showing else 0))
        if role == "combo box":
            return False  # its menu of entries is not what names it
    return True


def main():
    pid, title = int(sys.argv[1]), sys.argv[2]
    windows = [window for app in applications(pid, required=False) for window in app
               if window is not None and window.name == title
               and window.getState().contains(pyatspi.STATE_SHOWING)]
    if not windows:
        print("process %d shows no window \"%s\"" % (pid, title), file=sys.stderr)
        return 1
    for window in windows:
        walk(window, visit)
    return 0


if __name__ == "__main__":
    sys.exit(main())
