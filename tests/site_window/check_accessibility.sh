#!/usr/bin/env bash
# Starts the site window's program on a folder of pages, on a display and an accessibility
# bus of their own, and reads its window as a screen reader would.
# Usage: check_accessibility.sh PROGRAM PAGES_DIR
set -euo pipefail
source "$(dirname "$0")/../common/accessibility.sh"
program=$(realpath "$1")
mkdir "$work/site"
cp "$2"/site_*.html "$work/site/"
read_as_screen_reader "$(dirname "$0")/check_accessibility.py" "$program" site
