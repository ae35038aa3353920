#!/usr/bin/python3
"""Walks the running trainer's accessibility tree over AT-SPI, as a screen
reader does, and fails on any showing button, picture, text or list whose
name is empty. The tool-strip commands are pressed through their AT-SPI
actions to bring up each panel in turn, and walked again.

Usage: atspi_walk.py PID      (the process id of the running program)
Prints what is wrong and exits 1; exits 0 when every panel checks out.
"""
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

# The action calls used here are marked deprecated in newer bindings only.
warnings.simplefilter("ignore", DeprecationWarning)

CHECKED = {
    "push button", "toggle button", "check box", "radio button", "image", "icon", "label", "text",
    "paragraph", "entry", "password text", "list", "list box", "table", "tree table", "tree",
}
LISTS = {"list", "list box", "table", "tree table", "tree"}
# The panels, opened by the name of the tool-strip button that shows them.
PANELS = ["顺序练习", "模拟考试", "错误集", "题库", "信息和帮助", "初步练习"]


def app_of(pid, limit=40):
    deadline = time.time() + limit
    while time.time() < deadline:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            try:
                if app is not None and app.get_process_id() == pid and app.get_child_count() > 0:
                    return app
            except gi.repository.GLib.Error:
                pass
        time.sleep(0.5)
    return None


def showing(node):
    states = node.get_state_set()
    return states.contains(Atspi.StateType.SHOWING) and states.contains(Atspi.StateType.VISIBLE)


def walk(node, path, out, found, depth=0):
    if node is None or depth > 40:
        return
    try:
        role = node.get_role_name()
        name = node.get_name() or ""
    except gi.repository.GLib.Error:
        return
    if not showing(node) and depth > 1:
        return
    if role in CHECKED:
        found["#checked"] = found.get("#checked", 0) + 1
        if not name.strip():
            out.append(f"{path}/{role} (index {node.get_index_in_parent()})")
    if role == "push button" and name:
        found.setdefault(name, node)
    if role in LISTS:
        return  # rows and cells read their own text
    for i in range(node.get_child_count()):
        walk(node.get_child_at_index(i), f"{path}/{role}:{name}", out, found, depth + 1)


def press(button):
    action = button.get_action_iface()
    if action is None:
        return False
    for i in range(action.get_n_actions()):
        if action.get_action_name(i) in ("press", "Press", "click"):
            return action.do_action(i)
    return action.get_n_actions() > 0 and action.do_action(0)


def main():
    pid = int(sys.argv[1])
    app = app_of(pid)
    if app is None:
        print(f"the program (pid {pid}) never appeared on the accessibility bus")
        return 1
    problems = []
    pressed = 0
    checked = 0
    for panel in PANELS:
        found = {}
        out = []
        walk(app, app.get_name() or "app", out, found)
        if out:
            problems.append(f"before {panel}: " + "; ".join(out))
        # The tool strip alone has ten pictures; fewer means the walk missed
        # the window.
        if found.get("#checked", 0) < 12:
            problems.append(f"before {panel}: only {found.get('#checked', 0)} controls found in the tree")
        checked += found.get("#checked", 0)
        button = found.get(panel)
        if button is None:
            problems.append(f"no showing button named {panel}")
            continue
        if not press(button):
            problems.append(f"the button {panel} cannot be pressed over AT-SPI")
        pressed += 1
        time.sleep(0.8)
    found, out = {}, []
    walk(app, app.get_name() or "app", out, found)
    if out:
        problems.append("at the end: " + "; ".join(out))
    for p in problems:
        print(p)
    if not problems:
        print(f"AT-SPI: {pressed} panels walked, {checked} showing controls, every one named")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
