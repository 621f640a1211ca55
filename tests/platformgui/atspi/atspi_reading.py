"""What the AT-SPI reader scripts of this folder share: pyatspi, the
applications of one process on the accessibility bus, a walk through what
is below an object, listening to events for a while, and fields fit for a
line of tab-separated fields.

Exit codes of the readers: 77, no accessibility bus to talk to; 1, the
process is not on it.
"""
import sys

try:
    import pyatspi
except ImportError as error:
    pyatspi = None
    MISSING = "pyatspi is missing: %s" % error

NO_BUS = 77

# Deeper than any window of ours: a cycle in a broken tree ends here.
MAX_DEPTH = 40


def need_pyatspi(exit_code):
    """Ends the reader with exit_code when pyatspi cannot be imported."""
    if pyatspi is None:
        print(MISSING, file=sys.stderr)
        sys.exit(exit_code)


def clean(text):
    return (text or "").replace("\t", " ").replace("\n", " ")


def applications(pid, required=True):
    """The process's applications on the accessibility bus. Ends the reader
    with NO_BUS when there is no bus, and with 1 when the process is not on
    it and it is required."""
    try:
        desktop = pyatspi.Registry.getDesktop(0)
        apps = [app for app in desktop if app is not None and app.get_process_id() == pid]
    except Exception as error:
        print("no accessibility bus: %s" % error, file=sys.stderr)
        sys.exit(NO_BUS)
    if required and not apps:
        print("process %d is not on the accessibility bus" % pid, file=sys.stderr)
        sys.exit(1)
    return apps


def table_of(node):
    """The node's table interface, or None where it is no table."""
    try:
        return node.queryTable()
    except NotImplementedError:
        return None


def walk(node, visit, depth=0):
    """Visits node and what is below it, depth first: visit(node, role, depth)
    says whether to go on into the node's children. A node whose role cannot
    be read is passed over with all below it."""
    if node is None or depth > MAX_DEPTH:
        return
    try:
        role = node.getRoleName()
    except Exception:
        return
    if visit(node, role, depth):
        walk_children(node, visit, depth)


def walk_children(node, visit, depth):
    for index in range(node.childCount):
        walk(node.getChildAtIndex(index), visit, depth + 1)


def listen(handler, event_types, seconds):
    """Calls handler with each event of event_types for seconds. Prints
    "listening" once registered, so that the caller may start what it
    listens for. Returns the reader's exit code: NO_BUS when there is no bus
    to listen on."""
    from gi.repository import GLib  # pyatspi brings it

    try:
        pyatspi.Registry.registerEventListener(handler, *event_types)
    except Exception as error:
        print("no accessibility bus: %s" % error, file=sys.stderr)
        return NO_BUS
    print("listening")
    sys.stdout.flush()
    GLib.timeout_add(int(seconds * 1000), lambda: pyatspi.Registry.stop())
    pyatspi.Registry.start()
    return 0
