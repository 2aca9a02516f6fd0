"""Reading a program's windows through the accessibility bus, as a screen reader does.

Shared by the checks that accessibility.sh runs: each names its program's windows, the
roles of the controls a user reaches or reads, and what the controls without a caption of
their own must be called. Every control must have a name.
"""
import subprocess
import sys
import time

import pyatspi


def controls(node, roles, whole):
    """(role, name) of every control below node whose role is in roles; the parts of a
    control whose role is in whole (a list's items, a text's scroll bars) are its own."""
    found = []
    for child in node:
        if child is None:
            continue
        role = child.getRoleName()
        if role in roles:
            # A list's name is its chosen item; what it is, its description says.
            found.append((role, child.description if role == "combo box" else child.name))
        if role not in whole:
            found.extend(controls(child, roles, whole))
    return found


def window(program, is_title):
    """The top window of the application called program whose title is_title accepts,
    waiting up to ten seconds for it; None when it does not come."""
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is None or app.name != program:
                continue
            for top in app:
                if top is not None and is_title(top.name):
                    return top
        time.sleep(0.1)
    return None


def press(title_pattern, keys):
    """Gives the X window whose title matches title_pattern the focus, then the keys."""
    found = subprocess.run(["xdotool", "search", "--name", title_pattern],
                           capture_output=True, text=True, check=True).stdout.split()[0]
    subprocess.run(["xdotool", "windowfocus", "--sync", found, "key", keys], check=True)


def faults(title, found, expected):
    """What is wrong with the controls found in the window called title: a control
    without a name, or one of expected (role, name) missing."""
    failures = []
    previous = None
    for role, name in found:
        if not name.strip():
            failures.append(f"{title}: a {role} without a name after {previous!r}")
        previous = name
    for role, name in expected:
        if (role, name) not in found:
            failures.append(f"{title}: no {role} named {name!r}")
    return failures


def finish(failures, windows):
    """Reports the failures and how many of the windows passed, and exits."""
    for failure in failures:
        print("FAIL:", failure, file=sys.stderr)
    failed = len({failure.split(":")[0] for failure in failures})
    print(f"{windows - failed} passed, {failed} failed")
    sys.exit(1 if failures else 0)
