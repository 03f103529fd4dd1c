"""Keeps the clerk's guide in step with the program and its pictures.

- every picture the guide shows exists, is a PNG, and is one that
  scripts/screenshots.sh makes (so regenerating the pictures renews all of them);
  every picture the script makes is shown;
- every link inside the guide leads to one of its headings;
- every text the guide quotes as the program's own ("Refresh", "Missing: …") is
  a text of the program, so a renamed button or reworded message shows here.

Usage: guide_test.py REPO_ROOT
"""

import glob
import os
import re
import sys

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"

# Quoted in the guide but not the program's: the demo hospital's drug names.
NOT_THE_PROGRAMS = {"Paracetamol", "PARACETAMOL", "Paracetamol "}

# Stand-ins the guide writes for what varies in a message.
PLACEHOLDER = re.compile(r"<[^>]+>|…|\.\.\.(?=\))|\b[nmN]\b")


def guide_text(root):
    with open(os.path.join(root, "docs", "user-guide.md"), encoding="utf-8") as guide:
        return guide.read()


def program_text(root):
    """Every source text of the program, as the clerk reads it: access-key
    ampersands gone, escapes resolved."""
    parts = []
    for path in sorted(glob.glob(os.path.join(root, "src", "**", "*.*"), recursive=True)):
        if path.endswith((".cpp", ".h")):
            with open(path, encoding="utf-8") as source:
                parts.append(source.read())
    text = "\n".join(parts)
    # A long text is written as adjacent literals over several lines: one text.
    text = re.sub(r'"\s*\n\s*(?:QStringLiteral\()?"', "", text)
    text = re.sub(r"\\u([0-9a-fA-F]{4})", lambda m: chr(int(m.group(1), 16)), text)
    text = text.replace('\\"', '"').replace("&&", "\x00").replace("&", "").replace("\x00", "&")
    return text


def slug(heading):
    """The anchor a Markdown renderer gives a heading."""
    text = re.sub(r"[^\w\- ]", "", heading.strip().lower())
    return text.replace(" ", "-")


def quoted(text):
    """The double-quoted texts outside code spans, a line break read as a blank."""
    prose = re.sub(r"`[^`]*`", "", text)
    return {re.sub(r"\s*\n\s*", " ", q) for q in re.findall(r'"([^"]+)"', prose)}


def check_pictures(root, guide, failures):
    shown = set(re.findall(r"!\[[^\]]*\]\(images/([^)]+)\)", guide))
    with open(os.path.join(root, "scripts", "screenshots.py"), encoding="utf-8") as script:
        made = set(re.findall(r'"([\w-]+\.png)"', script.read()))
    if not shown:
        failures.append("the guide shows no picture")
    for name in sorted(shown):
        path = os.path.join(root, "docs", "images", name)
        if not os.path.isfile(path):
            failures.append("picture %s is missing from docs/images" % name)
            continue
        with open(path, "rb") as picture:
            if picture.read(8) != PNG_SIGNATURE:
                failures.append("picture %s is not a PNG" % name)
    for name in sorted(shown - made):
        failures.append("picture %s is shown but scripts/screenshots.py does not make it" % name)
    for name in sorted(made - shown):
        failures.append("picture %s is made but the guide does not show it" % name)


def check_links(guide, failures):
    anchors = {slug(h) for h in re.findall(r"^#+ (.+)$", guide, re.MULTILINE)}
    for target in sorted(set(re.findall(r"\]\(#([^)]+)\)", guide))):
        if target not in anchors:
            failures.append("link #%s leads to no heading" % target)


def check_quotes(root, guide, failures):
    program = program_text(root)
    for text in sorted(quoted(guide)):
        if text in NOT_THE_PROGRAMS:
            continue
        # What stands between two placeholders: " - " between a title and an IDNum.
        pieces = [p.strip(" .,;:-()") for p in PLACEHOLDER.split(text)]
        pieces = [p for p in pieces if p] if len(pieces) > 1 else [text]
        missing = [p for p in pieces if p not in program]
        if missing:
            failures.append("the guide quotes %r, which the program does not say (%r not found)"
                            % (text, missing[0]))


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
    guide = guide_text(root)
    failures = []
    check_pictures(root, guide, failures)
    check_links(guide, failures)
    check_quotes(root, guide, failures)
    with open(os.path.join(root, "README.md"), encoding="utf-8") as readme:
        if "docs/user-guide.md" not in readme.read():
            failures.append("the README does not lead to docs/user-guide.md")
    for failure in failures:
        print("FAIL " + failure)
    print("guide: %d problem(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
