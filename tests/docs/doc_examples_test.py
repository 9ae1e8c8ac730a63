#!/usr/bin/env python3
"""Runs every command example of README.md and docs/*.md and checks it.

An example is a line starting with "$ " inside a code block (fenced with
``` or indented by four spaces). The lines after it, up to the next "$ "
line or the end of the block, are its expected output: each must match the
command's standard output line for line (trailing blanks ignored), where a
line "..." stands for any number of lines. A command with no lines after it
must only succeed.

An example that needs data the repository cannot hold, or that would change
the machine (installing, starting the dialog), is marked by the comment
    <!-- doc-test: skip REASON -->
on the line before its block; it is reported as skipped, by name, never
silently left out.

Every relative link of the pages ([text](docs/page.md), pictures
included) must name a file of the repository, and README.md must link to
every page of docs/: a page nobody can reach, or a link to a page that is
gone, fails like an example.

Commands run with bash in a scratch folder that holds copies of the
repository's data/, docs/ and tests/data/, with the built programs first on
PATH, TZ=UTC and LC_ALL=C.UTF-8.

    doc_examples_test.py --build BUILD_DIR --source SOURCE_DIR [FILE.md ...]
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

LINK = re.compile(r"\]\(([^)\s]+)\)")
SKIP = re.compile(r"<!--\s*doc-test:\s*skip\s+(.*?)\s*-->")
FENCE = re.compile(r"^\s*```")
PROGRAM_DIRS = ["src/app", "src/cli/ephem", "src/cli/flares", "src/cli/render"]
COMMAND_TIMEOUT_S = 300


class Example:
    def __init__(self, path, line, command, expected, skip):
        self.path, self.line, self.command = path, line, command
        self.expected, self.skip = expected, skip

    @property
    def name(self):
        return f"{self.path}:{self.line}"


def code_blocks(lines):
    """Yields (first line number, block lines, skip reason) of each block."""
    i = 0
    pending_skip = None
    while i < len(lines):
        line = lines[i]
        marker = SKIP.search(line)
        if marker:
            pending_skip = marker.group(1)
            i += 1
            continue
        if FENCE.match(line):
            start = i + 1
            i += 1
            block = []
            while i < len(lines) and not FENCE.match(lines[i]):
                block.append(lines[i])
                i += 1
            yield start + 1, block, pending_skip
            pending_skip = None
            i += 1
            continue
        if line.startswith("    ") and (i == 0 or not lines[i - 1].strip()):
            start = i
            block = []
            while i < len(lines) and (lines[i].startswith("    ") or not lines[i].strip()):
                block.append(lines[i][4:])
                i += 1
            while block and not block[-1].strip():
                block.pop()
            yield start + 1, block, pending_skip
            pending_skip = None
            continue
        if line.strip():
            pending_skip = None if not line.lstrip().startswith("<!--") else pending_skip
        i += 1


def examples_of(path, text):
    found = []
    for first, block, skip in code_blocks(text.splitlines()):
        current = None
        for offset, line in enumerate(block):
            if line.startswith("$ "):
                if current:
                    found.append(current)
                current = Example(path, first + offset, line[2:].strip(), [], skip)
            elif current is not None:
                current.expected.append(line.rstrip())
        if current:
            found.append(current)
    for example in found:
        while example.expected and not example.expected[-1]:
            example.expected.pop()
    return found


def matches(expected, actual):
    """Line-by-line match where "..." stands for any number of lines."""
    if not expected:
        return True
    if expected[0] == "...":
        rest = expected[1:]
        return any(matches(rest, actual[k:]) for k in range(len(actual) + 1))
    return bool(actual) and expected[0] == actual[0] and matches(expected[1:], actual[1:])


def link_problems(page, name, text, source):
    """Relative links of `page` that name no file of the repository."""
    problems = []
    for number, line in enumerate(text.splitlines(), 1):
        for target in LINK.findall(line):
            if re.match(r"^[a-z]+:", target) or target.startswith("#"):
                continue
            path = (page.parent / target.split("#", 1)[0]).resolve()
            if not path.exists() or not path.is_relative_to(source):
                problems.append(f"{name}:{number}: the link {target} names no file")
    return problems


def unlinked_pages(source):
    """Pages of docs/ that README.md does not link to."""
    readme = (source / "README.md").read_text(encoding="utf-8")
    targets = {(source / t.split("#", 1)[0]).resolve() for t in LINK.findall(readme)}
    return [f"docs/{page.name} is not linked from README.md"
            for page in sorted((source / "docs").glob("*.md")) if page.resolve() not in targets]


def scratch_folder(source):
    folder = Path(tempfile.mkdtemp(prefix="barywalk-docs-"))
    for part in ["data", "docs", "tests/data"]:
        shutil.copytree(source / part, folder / part)
    return folder


def run(example, cwd, env):
    done = subprocess.run(["bash", "-c", "set -o pipefail; " + example.command], cwd=cwd, env=env,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          timeout=COMMAND_TIMEOUT_S, text=True, errors="replace")
    if done.returncode != 0:
        return f"exit status {done.returncode}: {done.stderr.strip()[:500]}"
    actual = [line.rstrip() for line in done.stdout.splitlines()]
    if example.expected and not matches(example.expected, actual):
        shown = "\n".join(actual[:40])
        return f"output differs from the page:\n--- page\n" + "\n".join(
            example.expected) + f"\n--- program\n{shown}"
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True, type=Path)
    parser.add_argument("--source", required=True, type=Path)
    parser.add_argument("pages", nargs="*", type=Path)
    args = parser.parse_args()
    source, build = args.source.resolve(), args.build.resolve()
    pages = args.pages or [source / "README.md"] + sorted((source / "docs").glob("*.md"))

    env = dict(os.environ, TZ="UTC", LC_ALL="C.UTF-8", BARYWALK_PROGRESS="0")
    env["PATH"] = os.pathsep.join([str(build / d) for d in PROGRAM_DIRS] + [env.get("PATH", "")])

    examples, broken = [], [] if args.pages else unlinked_pages(source)
    for page in pages:
        page = page.resolve()
        name = page.relative_to(source) if page.is_relative_to(source) else page
        text = page.read_text(encoding="utf-8")
        examples += examples_of(name, text)
        broken += link_problems(page, name, text, source)

    cwd = scratch_folder(source)
    failures, skipped, passed = [], [], 0
    try:
        for example in examples:
            if example.skip is not None:
                skipped.append(example)
                continue
            problem = run(example, cwd, env)
            if problem:
                failures.append((example, problem))
            else:
                passed += 1
    finally:
        shutil.rmtree(cwd, ignore_errors=True)

    for example in skipped:
        print(f"SKIPPED {example.name}: {example.command}  ({example.skip})")
    for example, problem in failures:
        print(f"FAILED {example.name}: {example.command}\n  {problem}")
    for problem in broken:
        print(f"FAILED {problem}")
    print(f"{passed} passed, {len(failures)} failed, {len(skipped)} skipped, "
          f"{len(broken)} link problems")
    if not examples:
        print("no examples found", file=sys.stderr)
        return 1
    return 1 if failures or broken else 0


if __name__ == "__main__":
    sys.exit(main())
