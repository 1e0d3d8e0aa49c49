#!/usr/bin/env python3
"""The layering test: fails, naming file and line, when

  qt-in-core      a core file includes a Qt header (a core file: in a folder of
                  src/ outside tests/, without the window prefix F; in src/app/, the
                  program's folder, a file of a library that links no Qt);
  window-in-core  a core file includes a window header (F*.h);
  main-window     a file outside src/app/ includes a header of the program itself
                  (the library vellum_app: the main window, the application object,
                  ...); the program context and the window host of src/app/ are
                  there for every subsystem. Tests, src/testsupport, benchmarks and
                  fuzz targets may;
  unlinked        a file includes "<folder>/<header>" of a library that the
                  target compiling it does not link (directly or through the
                  libraries it links).

The targets, their folders, sources and links come from the manifest CMake
writes (layering-manifest.txt, one "target|kind|folder|sources|links" line per
library or program). Known violations are listed, with the reason, in the
allow-list file: "<rule> <file> [<included header>]", "#" starts a comment.
"""

import argparse
import os
import re
import sys
from dataclasses import dataclass, field

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
WINDOW_NAME = re.compile(r"^F[a-z]")
QT_HEADER = re.compile(r"^Q[A-Za-z]|^Qt[A-Za-z]*/")
SOURCE_SUFFIXES = (".h", ".cpp")
PROGRAM_LIBRARY = "vellum_app"


@dataclass
class Target:
    name: str
    folder: str
    sources: list
    links: list
    closure: set = field(default_factory=set)


@dataclass
class Violation:
    rule: str
    file: str  # relative to the root
    line: int
    included: str
    why: str

    def text(self):
        return f"{self.file}:{self.line}: includes {self.included}: {self.why} [{self.rule}]"


def read_manifest(path):
    targets = {}
    with open(path, encoding="utf-8") as manifest:
        for line in manifest:
            line = line.rstrip("\n")
            if not line:
                continue
            name, _kind, folder, sources, links = line.split("|")
            targets[name] = Target(name, os.path.normpath(folder),
                                   [os.path.normpath(s) for s in sources.split(",") if s],
                                   [l for l in links.split(",") if l])
    for target in targets.values():
        target.closure = link_closure(target.name, targets)
    return targets


def link_closure(name, targets):
    seen, todo = set(), [name]
    while todo:
        current = todo.pop()
        if current in seen or current not in targets:
            continue
        seen.add(current)
        todo.extend(targets[current].links)
    return seen


def read_allow_list(path):
    entries = []
    if not path:
        return entries
    with open(path, encoding="utf-8") as allow:
        for number, line in enumerate(allow, 1):
            words = line.split("#", 1)[0].split()
            if not words:
                continue
            if len(words) not in (2, 3):
                raise SystemExit(f"{path}:{number}: expected '<rule> <file> [<included header>]'")
            entries.append((words[0], words[1], words[2] if len(words) == 3 else None))
    return entries


def allowed_by(entries, violation):
    return [e for e in entries
            if e[0] == violation.rule and e[1] == violation.file and e[2] in (None, violation.included)]


class Checker:
    def __init__(self, root, targets):
        self.root = os.path.abspath(root)
        self.src = os.path.join(self.root, "src")
        self.targets = targets
        self.compiled_by = {}  # source file -> targets compiling it
        for target in targets.values():
            for source in target.sources:
                self.compiled_by.setdefault(source, []).append(target)

    def relative(self, path):
        return os.path.relpath(path, self.root)

    def in_tests(self, path):
        return "tests" in self.relative(path).split(os.sep)[:-1]

    def in_harness(self, path):
        """Tests, their support library, benchmarks and fuzz targets, which drive the layers from outside."""
        parts = self.relative(path).split(os.sep)
        return self.in_tests(path) or parts[0] in ("bench", "fuzz") or parts[:2] == ["src", "testsupport"]

    def in_app(self, path):
        return path.startswith(os.path.join(self.src, "app") + os.sep)

    def links_qt(self, target):
        return any(link.startswith("Qt") for name in target.closure if name in self.targets
                   for link in self.targets[name].links)

    def is_core_file(self, path):
        if not path.startswith(self.src + os.sep) or self.in_tests(path):
            return False
        if self.in_app(path):
            owners = self.owners(path)
            return bool(owners) and not any(self.links_qt(t) for t in owners)
        relative = os.path.relpath(path, self.src).split(os.sep)
        return len(relative) >= 2 and not WINDOW_NAME.match(relative[-1])

    def is_program_header(self, header):
        """A header of the program itself: of vellum_app, or of src/app/ and no library."""
        owners = self.owners(header)
        return self.in_app(header) and (not owners or any(t.name == PROGRAM_LIBRARY for t in owners))

    def owners(self, header):
        """The targets a file belongs to: those that list it or its .cpp, else
        the libraries of its folder (window libraries for F files)."""
        stem, _ = os.path.splitext(header)
        listed = self.compiled_by.get(header, []) + self.compiled_by.get(stem + ".cpp", [])
        if listed:
            return list({t.name: t for t in listed}.values())
        folder = os.path.dirname(header)
        window = bool(WINDOW_NAME.match(os.path.basename(header)))
        while folder.startswith(self.src + os.sep):
            here = [t for t in self.targets.values() if t.folder == folder]
            if here:
                kind = [t for t in here if t.name.endswith("_windows") == window]
                return kind or here
            folder = os.path.dirname(folder)
        return []

    def resolve(self, path, included):
        """The header a quoted include names: next to the file (local), else below src/."""
        local = os.path.normpath(os.path.join(os.path.dirname(path), included))
        if os.path.isfile(local):
            return local, True
        rooted = os.path.normpath(os.path.join(self.src, included))
        if os.path.isfile(rooted):
            return rooted, False
        return None, False

    def check_file(self, path):
        found = []
        relative = self.relative(path)
        core = self.is_core_file(path)
        with open(path, encoding="utf-8", errors="replace") as source:
            lines = source.readlines()
        for number, line in enumerate(lines, 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            bracket, included = match.groups()
            if bracket == "<":
                if core and QT_HEADER.match(included):
                    found.append(Violation("qt-in-core", relative, number, included,
                                           "a core file includes a Qt header"))
                continue
            if core and WINDOW_NAME.match(os.path.basename(included)):
                found.append(Violation("window-in-core", relative, number, included,
                                       "a core file includes a window header"))
            header, local = self.resolve(path, included)
            if header is None:
                continue
            if self.is_program_header(header) and not self.in_app(path) and not self.in_harness(path):
                found.append(Violation("main-window", relative, number, included,
                                       "only the program (src/app) includes the main window's headers"))
            if not local:
                found.extend(self.check_link(path, relative, number, included, header))
        return found

    def check_link(self, path, relative, number, included, header):
        providers = {t.name for t in self.owners(header)}
        if not providers:
            return []
        users = self.owners(path) if path.endswith(".h") else self.compiled_by.get(path, [])
        missing = [t.name for t in users if not (t.closure & providers)]
        # A header is fine when any library of its folder may include it.
        if not users or (path.endswith(".h") and len(missing) < len(users)) or not missing:
            return []
        return [Violation("unlinked", relative, number, included,
                          f"{', '.join(sorted(missing))} does not link {' or '.join(sorted(providers))}")]

    def files(self):
        for top in ("src", "fuzz", "bench"):
            for folder, _dirs, names in os.walk(os.path.join(self.root, top)):
                for name in sorted(names):
                    if name.endswith(SOURCE_SUFFIXES):
                        yield os.path.join(folder, name)


def run(root, manifest, allow_path, out=sys.stdout):
    checker = Checker(root, read_manifest(manifest))
    entries = read_allow_list(allow_path)
    used = set()
    failures, allowed, count = [], 0, 0
    for path in checker.files():
        count += 1
        for violation in checker.check_file(path):
            matched = allowed_by(entries, violation)
            if matched:
                allowed += 1
                used.update(matched)
            else:
                failures.append(violation)
    for violation in failures:
        print(violation.text(), file=out)
    for entry in entries:
        if entry not in used:
            print(f"note: allow-list entry no longer needed: {' '.join(e for e in entry if e)}", file=out)
    print(f"layering: {count} files, {len(failures)} violations, {allowed} allowed by the list", file=out)
    return 1 if failures else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--root", required=True, help="the source tree (holds src/)")
    parser.add_argument("--manifest", required=True, help="layering-manifest.txt of the build tree")
    parser.add_argument("--allow", help="the allow-list file")
    arguments = parser.parse_args()
    return run(arguments.root, arguments.manifest, arguments.allow)


if __name__ == "__main__":
    sys.exit(main())
