#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The README, CONTRIBUTING.md and docs/ as a reader follows them: every link between them leads to
a file there is, and every #section to a heading in it; every script, test and path of the
repository they name, in their commands and in their text, is there, and a command they show is
one that can be run (a script of the repository that is executable, or a program Debian has); and
the README gives exactly the two commands that build and test from a clone.

    tests/docs_test.py REPOSITORY
"""

import os
import re
import shutil
import sys
import unittest

ROOT = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else os.getcwd()
# Where the repository's own files are; paths under build/ are what a build makes.
REPOSITORY_FOLDERS = ("scripts/", "tests/", "bench/", "cmake/", "packaging/", "src/", "docs/", ".ci/")
# Programs the commands run that come from Debian's packages, not from the repository.
PROGRAMS = {"cmake", "ctest", "sudo", "sha256sum", "tar", "python3", "xargs", "git", "apt", "certutil"}


def read(name):
    with open(os.path.join(ROOT, name), encoding="utf-8") as file:
        return file.read()


def documents():
    names = ["README.md", "CONTRIBUTING.md"] + sorted("docs/" + n for n in os.listdir(os.path.join(ROOT, "docs"))
                                                       if n.endswith(".md"))
    return {name: read(name) for name in names}


def anchors(text):
    """The #fragments GitHub gives the headings of a Markdown text."""
    found = set()
    for heading in re.findall(r"^#+ (.+)$", text, re.MULTILINE):
        found.add(re.sub(r"[^\w\- ]", "", heading.lower()).replace(" ", "-"))
    return found


def fenced_commands(text):
    """Each command of the shell blocks, with its comment taken off, split where one ends."""
    for block in re.findall(r"^```sh\n(.*?)^```", text, re.MULTILINE | re.DOTALL):
        for line in block.splitlines():
            line = re.sub(r"\s+#.*$", "", line).strip()
            for command in re.split(r"&&|\|\||;|\|", line):
                words = command.split()
                while words and (re.match(r"^[A-Z_]+=", words[0]) or words[0] == "sudo"):
                    words.pop(0)  # settings of the environment, and sudo, before the program
                if words:
                    yield words


def repository_path(word):
    """word as a path of the repository's own, or None."""
    word = word.strip("`'\",()").rstrip(".:")
    if not word.startswith(REPOSITORY_FOLDERS) or re.search(r"[<>*{}$]", word):
        return None
    return word


class Documents(unittest.TestCase):
    def test_links_lead_to_files_and_headings_there_are(self):
        texts = documents()
        for name, text in texts.items():
            for target in re.findall(r"\]\(([^)\s]+)\)", text):
                if re.match(r"^[a-z]+:", target):
                    continue  # another site's address
                path, _, fragment = target.partition("#")
                file = os.path.normpath(os.path.join(os.path.dirname(name), path)) if path else name
                self.assertTrue(os.path.exists(os.path.join(ROOT, file)), f"{name}: no {target}")
                if fragment:
                    heading_text = texts.get(file) or read(file)
                    self.assertIn(fragment, anchors(heading_text), f"{name}: no heading for {target}")

    def test_what_the_commands_and_the_text_name_is_there(self):
        for name, text in documents().items():
            for words in fenced_commands(text):
                program = words[0]
                if program.startswith("build/"):
                    continue  # a program the build makes
                if "/" in program:
                    path = os.path.join(ROOT, program)
                    self.assertTrue(os.path.isfile(path) and os.access(path, os.X_OK),
                                    f"{name}: {program} is not a script of the repository")
                else:
                    self.assertIn(program, PROGRAMS, f"{name}: what runs {' '.join(words)}?")
                    self.assertTrue(shutil.which(program) or program in {"sudo", "apt", "certutil"},
                                    f"{name}: no {program} on this machine")
                for word in words[1:]:
                    path = repository_path(word)
                    if path:
                        self.assertTrue(os.path.exists(os.path.join(ROOT, path)), f"{name}: no {path}")
            for code in re.findall(r"`([^`\n]+)`", text):
                path = repository_path(code) if " " not in code else None
                if path:
                    self.assertTrue(os.path.exists(os.path.join(ROOT, path)), f"{name}: no {path}")

    def test_the_readme_builds_and_tests_with_two_commands(self):
        readme = documents()["README.md"]
        section = readme[readme.index("## Build and test"):]
        section = section[:section.index("\n## ")]
        self.assertEqual([words for words in fenced_commands(section)], [["scripts/play"], ["scripts/test"]])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
