"""Reads the site window's controls through the accessibility bus, as a screen reader does.

Run by check_accessibility.sh, which starts the program on a folder of pages. Every
control must have a name; the table below says what those without a caption of their own
are called, the replace bar's among them once Ctrl+H shows it.
"""
import subprocess
import sys
import time

import pyatspi

CONTROLS = {
    "push button", "text", "combo box", "check box", "table", "progress bar", "toggle button",
}
EXPECTED = [
    ("text", "Search the pages"),
    ("table", "Pages of the site"),
    ("combo box", "Column to replace in"),
    ("text", "Text to find"),
    ("text", "Text to put in its place"),
    ("push button", "Replace in the selected rows"),
    ("push button", "Close the replace bar"),
]


def controls(node):
    """(role, name) of every control below node."""
    found = []
    for child in node:
        if child is None:
            continue
        role = child.getRoleName()
        if role in CONTROLS:
            found.append((role, child.description if role == "combo box" else child.name))
        if role not in ("combo box", "text", "table"):  # their parts are their own
            found.extend(controls(child))
    return found


def window():
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is None or app.name != "Quillmark Site":
                continue
            for top in app:
                if top is not None and top.name.endswith("Quillmark Site"):
                    return top
        time.sleep(0.1)
    return None


top = window()
if top is None:
    print("FAIL: the site window is not on the accessibility bus", file=sys.stderr)
    sys.exit(1)
time.sleep(1)  # the pages read
main = subprocess.run(["xdotool", "search", "--name", "Quillmark Site$"],
                      capture_output=True, text=True, check=True).stdout.split()[0]
subprocess.run(["xdotool", "windowfocus", "--sync", main, "key", "ctrl+h"], check=True)
time.sleep(0.5)
found = controls(top)
failures = []
previous = None
for role, name in found:
    if not name.strip():
        failures.append(f"a {role} without a name after {previous!r}")
    previous = name
for expected in EXPECTED:
    if expected not in found:
        failures.append(f"no {expected[0]} named {expected[1]!r}")
for failure in failures:
    print("FAIL:", failure, file=sys.stderr)
print("site window:", "failed" if failures else "passed")
sys.exit(1 if failures else 0)
