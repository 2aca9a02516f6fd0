"""Reads every window's controls through the accessibility bus, as a screen reader does.

Run by check_accessibility.sh, which starts the program on a display of its own with the
bus. Every control must have a name; the tables below say what the controls that carry no
caption of their own are called.
"""
import accessibility

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

# Roles whose parts are their own: a list's items, a text's scroll bars.
WHOLE = {"combo box", "text"}

failures = []
for title, keys, table in WINDOWS:
    if keys:
        accessibility.press("^Quillmark v2.0$", keys)
    top = accessibility.window("Quillmark", lambda name, title=title: name == title)
    if top is None:
        failures.append(f"{title}: not on the accessibility bus")
        continue
    failures += accessibility.faults(title, accessibility.controls(top, CONTROLS, WHOLE), table)
accessibility.finish(failures, len(WINDOWS))
