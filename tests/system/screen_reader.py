"""What a screen reader finds in the running program, read over AT-SPI.

ScreenReader runs this file with Debian's own python3 (where python3-pyatspi
lives) under dbus-run-session: a session bus of its own, on which the
accessibility bus starts on demand as on a desktop. The program under test is
started on that bus with accessibility on (ScreenReader.environment()).
Requests and answers are JSON lines on the reader's standard input and output:

    {"tree": pid}                  the windows of process pid, as nodes
    {"act": path, "action": name}  runs a node's action; true when it ran
    {"events": true}               the changes told since the last such request

A node is a dict: role, name, description, states, actions, value (current,
minimum, maximum, or None), labelled_by (names), path and children. Answers
come on the file descriptor named by the reader's one argument.
"""

import json
import os
import select
import shutil
import subprocess
import sys
import tempfile

# Debian's interpreter, which python3-pyatspi is installed for.
SYSTEM_PYTHON = "/usr/bin/python3"
ANSWER_TIMEOUT = 30


class ScreenReader:
    def __init__(self, display):
        self.runtime = tempfile.mkdtemp(prefix="reelbox-reader-")
        env = dict(display.env, XDG_RUNTIME_DIR=self.runtime)
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        # Answers come on a pipe of their own: what the bus starts writes to
        # the standard output it inherits.
        read_end, write_end = os.pipe()
        self.log = os.path.join(self.runtime, "reader.log")
        with open(self.log, "wb") as log:
            self.process = subprocess.Popen(["dbus-run-session", "--", SYSTEM_PYTHON, os.path.abspath(__file__),
                                             str(write_end)], pass_fds=[write_end], stdin=subprocess.PIPE,
                                            stdout=log, stderr=subprocess.STDOUT, env=env, text=True)
        os.close(write_end)
        self.answers = os.fdopen(read_end)
        self.bus = self._answer()

    def environment(self):
        """What the program needs in its environment to be read."""
        return {"DBUS_SESSION_BUS_ADDRESS": self.bus, "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}

    def ask(self, **request):
        self.process.stdin.write(json.dumps(request) + "\n")
        self.process.stdin.flush()
        return self._answer()

    def _answer(self):
        ready, _, _ = select.select([self.answers], [], [], ANSWER_TIMEOUT)
        line = self.answers.readline() if ready else ""
        if not line:
            with open(self.log, errors="replace") as log:
                raise AssertionError("the screen reader did not answer:\n" + log.read()[-2000:])
        answer = json.loads(line)
        if "error" in answer:
            raise AssertionError("the screen reader failed: " + answer["error"])
        return answer["answer"]

    def window(self, program, role):
        """The program's first window of role, or None."""
        found = [w for w in self.ask(tree=program.process.pid) if w["role"] == role]
        return found[0] if found else None

    def act(self, node, action):
        if not self.ask(act=node["path"], action=action):
            raise AssertionError(f"{node['role']} {node['name']!r} has no action {action}")

    def events(self):
        return [tuple(event) for event in self.ask(events=True)]

    def close(self):
        if self.process.poll() is None:
            self.process.stdin.close()  # the reader ends, and dbus-run-session with it
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.answers.close()
        shutil.rmtree(self.runtime, ignore_errors=True)


def nodes(node):
    """node and all under it, in reading order."""
    found = [node]
    for child in node["children"]:
        found += nodes(child)
    return found


def controls(node, role):
    """The nodes of role under node, in reading order."""
    return [n for n in nodes(node) if n["role"] == role]


def control(node, role, name, index=0):
    return [c for c in controls(node, role) if c["name"] == name][index]


# The reader's side, in Debian's python3 with pyatspi.

def _node(accessible, path, pyatspi):
    states = accessible.getState()
    try:
        action = accessible.queryAction()
        actions = [action.getName(i) for i in range(action.nActions)]
    except NotImplementedError:
        actions = []
    try:
        value = accessible.queryValue()
        value = [value.currentValue, value.minimumValue, value.maximumValue]
    except NotImplementedError:
        value = None
    labelled_by = [relation.getTarget(i).name for relation in accessible.getRelationSet()
                   if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
                   for i in range(relation.getNTargets())]
    children = [accessible.getChildAtIndex(i) for i in range(accessible.childCount)]
    return {"role": accessible.getRoleName(), "name": accessible.name, "description": accessible.description,
            "states": sorted(pyatspi.stateToString(s) for s in states.getStates()),
            "actions": actions, "value": value, "labelled_by": labelled_by, "path": path,
            "children": [_node(child, path + [i], pyatspi) for i, child in enumerate(children) if child]}


def _serve(answers):
    import pyatspi
    from gi.repository import GLib

    events = []
    out = os.fdopen(answers, "w")

    def tell(answer):
        out.write(json.dumps(answer) + "\n")
        out.flush()

    def applications(pid):
        desktop = pyatspi.Registry.getDesktop(0)
        found = [desktop.getChildAtIndex(i) for i in range(desktop.childCount)]
        return [app for app in found if app is not None and app.get_process_id() == pid]

    paths = {}  # path -> accessible, from the last tree read

    def answer(request):
        if "tree" in request:
            windows = []
            paths.clear()
            for app in applications(request["tree"]):
                for i in range(app.childCount):
                    window = app.getChildAtIndex(i)
                    if window is not None:
                        windows.append(_node(window, [i], pyatspi))
                paths["app"] = app
            return windows
        if "act" in request:
            accessible = paths["app"]
            for i in request["act"]:
                accessible = accessible.getChildAtIndex(i)
            action = accessible.queryAction()
            names = [action.getName(i) for i in range(action.nActions)]
            return request["action"] in names and action.doAction(names.index(request["action"]))
        if "events" in request:
            taken = list(events)
            events.clear()
            return taken
        raise ValueError(f"unknown request {request}")

    def on_request(source, condition):
        line = sys.stdin.readline()
        if not line:
            pyatspi.Registry.stop()
            return False
        try:
            tell({"answer": answer(json.loads(line))})
        except Exception as error:  # told to the test, which fails on it
            tell({"error": f"{type(error).__name__}: {error}"})
        return True

    def on_event(event):
        try:
            events.append([event.type, event.source.getRoleName(), event.source.name, event.detail1])
        except Exception:
            pass  # an object that went away meanwhile

    pyatspi.Registry.registerEventListener(on_event, "object:state-changed", "object:property-change")
    GLib.io_add_watch(sys.stdin, GLib.IO_IN | GLib.IO_HUP, on_request)
    tell({"answer": os.environ["DBUS_SESSION_BUS_ADDRESS"]})
    pyatspi.Registry.start()


if __name__ == "__main__":
    _serve(int(sys.argv[1]))
