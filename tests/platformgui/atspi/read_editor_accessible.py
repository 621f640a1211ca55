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

try:
    import pyatspi
except ImportError as error:
    print("pyatspi is missing: %s" % error, file=sys.stderr)
    sys.exit(2)

ROLES = {"push button", "text", "password text", "combo box", "label"}


def clean(text):
    return (text or "").replace("\t", " ").replace("\n", " ")


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


def walk(node, depth=0):
    if node is None or depth > 40:
        return
    try:
        role = node.getRoleName()
    except Exception:
        return
    if role == "page tab":
        print("tab\t%s" % clean(node.name))
        for index in range(node.childCount):
            walk(node.getChildAtIndex(index), depth + 1)
        print("endtab")
        return
    if role in ROLES:
        showing = node.getState().contains(pyatspi.STATE_SHOWING)
        print("object\t%s\t%s\t%s\t%s\t%s\t%d" % (
            role, clean(node.name), clean(node.description),
            related(node, pyatspi.RELATION_LABELLED_BY),
            related(node, pyatspi.RELATION_DESCRIBED_BY), 1 if showing else 0))
        if role == "combo box":
            return  # its menu of entries is not what names it
    for index in range(node.childCount):
        walk(node.getChildAtIndex(index), depth + 1)


def main():
    pid = int(sys.argv[1])
    title = sys.argv[2]
    try:
        desktop = pyatspi.Registry.getDesktop(0)
        apps = [app for app in desktop if app is not None and app.get_process_id() == pid]
    except Exception as error:
        print("no accessibility bus: %s" % error, file=sys.stderr)
        return 77
    windows = [window for app in apps for window in app
               if window is not None and window.name == title
               and window.getState().contains(pyatspi.STATE_SHOWING)]
    if not windows:
        print("process %d shows no window \"%s\"" % (pid, title), file=sys.stderr)
        return 1
    for window in windows:
        walk(window)
    return 0


if __name__ == "__main__":
    sys.exit(main())
