"""Prints the cells of every tree view of one process as the accessibility bus
shows them: one line per cell, "TABLE<tab>NAME", tables numbered in
the order they are found. Exit code 3: no accessibility bus; 4: the process
never showed up on it; 5: the bindings (python3-pyatspi) are missing."""

import sys
import time

try:
    import pyatspi
except Exception as error:  # noqa: BLE001 - any import failure means no bus
    print("no accessibility bindings (python3-pyatspi): %s" % error, file=sys.stderr)
    sys.exit(5)

TREE_ROLES = {pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_TABLE}


def find_application(pid, seconds):
    deadline = time.time() + seconds
    while time.time() < deadline:
        try:
            desktop = pyatspi.Registry.getDesktop(0)
            for app in desktop:
                if app is not None and app.get_process_id() == pid:
                    return app
        except Exception:  # noqa: BLE001 - the registry may still be starting
            pass
        time.sleep(0.2)
    return None


def trees(node, found):
    try:
        role = node.getRole()
    except Exception:  # noqa: BLE001
        return
    if role in TREE_ROLES:
        found.append(node)
        return
    for child in node:
        if child is not None:
            trees(child, found)


def main():
    pid = int(sys.argv[1])
    try:
        pyatspi.Registry.getDesktop(0)
    except Exception as error:  # noqa: BLE001
        print("no accessibility bus: %s" % error, file=sys.stderr)
        return 3
    app = find_application(pid, 20)
    if app is None:
        print("process %d is not on the accessibility bus" % pid, file=sys.stderr)
        return 4
    found = []
    trees(app, found)
    for index, table in enumerate(found):
        for cell in table:
            if cell is None or cell.getRole() == pyatspi.ROLE_TABLE_COLUMN_HEADER:
                continue
            print("%d\t%s" % (index, cell.name))
    sys.stdout.flush()
    return 0


if __name__ == "__main__":
    sys.exit(main())
