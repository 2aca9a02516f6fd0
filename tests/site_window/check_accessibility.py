"""Reads the site window's controls through the accessibility bus, as a screen reader does.

Run by check_accessibility.sh, which starts the program on a folder of pages. Every
control must have a name; the table below says what those without a caption of their own
are called, the replace bar's among them once Ctrl+H shows it.
"""
import time

import accessibility

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

# A table's cells, like a list's items and a text's scroll bars, are its own.
WHOLE = {"combo box", "text", "table"}
TITLE = "Quillmark Site"

top = accessibility.window(TITLE, lambda name: name.endswith(TITLE))
if top is None:
    accessibility.finish([f"{TITLE}: not on the accessibility bus"], 1)
time.sleep(1)  # the pages read
accessibility.press(f"{TITLE}$", "ctrl+h")
time.sleep(0.5)
accessibility.finish(
    accessibility.faults(TITLE, accessibility.controls(top, CONTROLS, WHOLE), EXPECTED), 1)
