"""Reads every window's controls through the accessibility bus, as a screen reader does.

Run by check_accessibility.sh, which starts the program on a display of its own with the
bus. Every control must have a name; the tables below say what the controls that carry no
caption of their own are called.
"""
import subprocess
import sys
import time

import pyatspi

# Roles of the controls a user reaches or reads; labels say their own text.
CONTROLS = {
    "push button", "text", "combo box", "check box", "radio button", "image", "page tab",
    "progress bar", "toggle button", "spin button", "password text",
}

# One table per window: (role, name) of controls named for screen readers.
MAIN_WINDOW = [
    ("text", "Description"),
    ("combo box", "Distribution"),
    ("text", "Characters left"),
    ("push button", "Description: Description"),
    ("push button", "Description: Keywords"),
    ("push button", "Description: Robots"),
    ("push button", "Description: Choose a Character Set"),
    ("push button", "Description: Refresh"),
    ("push button", "Description: Expires"),
    ("push button", "Description: Comment"),
    ("text", "Refresh after seconds"),
    ("combo box", "Expires on day"),
    ("text", "Expires at minute"),
    ("check box", "Other script type"),
    ("text", "Script type"),
    ("text", "Comment"),
    ("push button", "QuickInsert: Comment"),
    ("push button", "QuickInsert: Title"),
    ("push button", "QuickInsert: Language"),
    ("push button", "QuickInsert"),
    ("text", "Languages of the character set"),
    ("text", "HTML Code"),
]
TOOLS = [
    ("text", "Source"),
    ("text", "Destination"),
    ("push button", "Choose source file"),
    ("push button", "Choose destination file"),
    ("progress bar", "Conversion progress"),
    ("text", "Keywords"),
]
STARTUP_TIP = [("image", "Light bulb"), ("text", "Tip")]
WIZARD = [("image", "Beginner Wizard"), ("text", "Step")]
ABOUT = [("image", "Quillmark on the web")]
PREFERENCES = [("text", "Page Title"), ("text", "Favicon URL")]

# Window title, keys that bring it up (None: shown at start), its table.
WINDOWS = [
    ("Quillmark v2.0", None, MAIN_WINDOW),
    ("Startup Tip", None, STARTUP_TIP),
    ("Beginner Wizard", None, WIZARD),
    ("Quillmark Tools", "F10", TOOLS),
    ("Preferences", "ctrl+e", PREFERENCES),
    ("About Quillmark v2.0", "ctrl+alt+a", ABOUT),
]


def controls(node):
    """(role, name) of every control below node."""
    found = []
    for child in node:
        if child is None:
            continue
        role = child.getRoleName()
        if role in CONTROLS:
            # A list's name is its chosen item; what it is, its description says.
            found.append((role, child.description if role == "combo box" else child.name))
        if role not in ("combo box", "text"):  # their lists and scroll bars are their own
            found.extend(controls(child))
    return found


def window(title):
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is None or app.name != "Quillmark":
                continue
            for top in app:
                if top is not None and top.name == title:
                    return top
        time.sleep(0.1)
    return None


def press(keys):
    main = subprocess.run(["xdotool", "search", "--name", "^Quillmark v2.0$"],
                          capture_output=True, text=True, check=True).stdout.split()[0]
    subprocess.run(["xdotool", "windowfocus", "--sync", main, "key", keys], check=True)


failures = []
for title, keys, table in WINDOWS:
    if keys:
        press(keys)
    top = window(title)
    if top is None:
        failures.append(f"{title}: not on the accessibility bus")
        continue
    found = controls(top)
    previous = None
    for role, name in found:
        if not name.strip():
            failures.append(f"{title}: a {role} without a name after {previous!r}")
        previous = name
    for expected in table:
        if expected not in found:
            failures.append(f"{title}: no {expected[0]} named {expected[1]!r}")

for failure in failures:
    print("FAIL:", failure, file=sys.stderr)
print(f"{len(WINDOWS) - len({f.split(':')[0] for f in failures})} passed, "
      f"{len({f.split(':')[0] for f in failures})} failed")
sys.exit(1 if failures else 0)
