#!/usr/bin/env python3
"""The JSON examples of README.md and of every page in docs/ against
veltra-cli: each is a valid record, and running the example's commands on
the sample images prints exactly it. A JSON block that no command precedes,
or a JSON fragment in the text, fails: it could drift from what the program
prints.

    json_doc_test.py VELTRA_CLI MAKE_SAMPLES SOURCE_FOLDER
"""
import json
import os
import re
import shlex
import subprocess
import sys
import tempfile
from pathlib import Path

import jsonschema

cli, make_samples, source = sys.argv[1], sys.argv[2], Path(sys.argv[3])
schema = json.loads((source / "docs" / "veltra-cli.schema.json").read_text())
jsonschema.Draft202012Validator.check_schema(schema)
validator = jsonschema.Draft202012Validator(schema)

passed = failed = 0


def expect(holds, what):
    global passed, failed
    if holds:
        passed += 1
    else:
        failed += 1
        print("FAILED:", what)


def records(text):
    """The JSON objects in text, one after another, however they are spread over lines."""
    decoder = json.JSONDecoder()
    found, at = [], 0
    while True:
        while at < len(text) and text[at].isspace():
            at += 1
        if at == len(text):
            return found
        record, at = decoder.raw_decode(text, at)
        found.append(record)


def valid(record, where):
    problems = [error.message for error in validator.iter_errors(record)]
    expect(not problems, f"{where}: {problems[:3]}")


# Each example: a ```sh block of "$ " command lines, then a ```json block
# with what the last of them prints. veltra-cli is the one under test.
EXAMPLE = re.compile(r"```sh\n((?:\$ [^\n]*\n)+)```\s*```json\n(.*?)```", re.S)
FRAGMENT = re.compile(r'`[^`\n]*"[\w-]+"\s*:[^`\n]*`')
environment = dict(os.environ, PATH=f"{Path(cli).parent}{os.pathsep}{os.environ['PATH']}")
commands = set()


def check_page(page, work):
    text = page.read_text()
    examples = EXAMPLE.findall(text)
    expect(text.count("```json") == len(examples),
           f"{page.name}: every ```json block follows the ```sh block of its command")
    fragments = FRAGMENT.findall(text)
    expect(not fragments, f"{page.name}: JSON in the text, not an example made by a command: {fragments}")
    if examples:
        subprocess.run([make_samples, "samples"], cwd=work, check=True, stdout=subprocess.DEVNULL)
    for lines, shown in examples:
        lines = [line[2:] for line in lines.splitlines()]
        *setup, command = lines
        for line in setup:
            expect(subprocess.run(["bash", "-c", line], cwd=work, env=environment).returncode == 0,
                   f"{page.name}: {line} succeeds")
        args = shlex.split(command)
        expect(args[0] == "veltra-cli", f"{page.name}: the last command is veltra-cli's: {command}")
        commands.add(args[1])
        documented = records(shown)
        for record in documented:
            valid(record, f"{page.name}: example of {command}")
        run = subprocess.run(["bash", "-c", command], cwd=work, env=environment, capture_output=True, text=True)
        printed = [json.loads(line) for line in run.stdout.splitlines()]
        for record in printed:
            valid(record, f"{page.name}: output of {command}")
        # Same members, same order, same values.
        expect([json.dumps(r) for r in printed] == [json.dumps(r) for r in documented],
               f"{page.name}: {command} prints what the page shows:\n{run.stdout}")
    return len(examples)


pages = [source / "README.md"] + sorted((source / "docs").glob("*.md"))
with tempfile.TemporaryDirectory() as scratch:
    for page in pages:
        work = Path(scratch) / page.stem
        work.mkdir()
        found = check_page(page, work)
        if page.name == "json.md":
            expect(found == 5, f"five examples in json.md, found {found}")

    # A record the schema must refuse: one it does not describe fully.
    sample = json.loads(subprocess.run([cli, "show", "--json", "samples/gtx680.rom"], cwd=Path(scratch) / "json",
                                       capture_output=True, text=True).stdout)
    changes = {
        "extra member": lambda r: r.update(extra=1),
        "gap in the boost ladder": lambda r: r.pop("boost-20"),
        "boost entry past the longest ladder": lambda r: r.update({"boost-65": 1000.0}),
        "null boost entry": lambda r: r.update({"boost-45": None}),
        "value left out rather than null": lambda r: r.pop("power-max"),
        "null read-only value": lambda r: r.update({"boost-limit": None}),
        "value as text": lambda r: r.update({"gpu-clock": "1006.00"}),
    }
    for change, apply in changes.items():
        bent = dict(sample)
        apply(bent)
        expect(not validator.is_valid(bent), f"the schema refuses a record with a {change}")
    # What an image of a board that opens through its tables may give.
    lacking = {name: value for name, value in sample.items() if not re.match(r"boost-(2[3-9]|[34]\d)$", name)}
    lacking.update({"voltage": None, "power-max": None, "boost-limit": 1202.0, "cooler-fan-max": 100})
    expect(validator.is_valid(lacking), "the schema takes nulls, a shorter ladder and the read-only values")

# The records of real boards' files, where the folder of dumps is at hand
# (they stay outside the repository).
dumps = sorted((source.parent / "shared" / "realdata").glob("*.rom"))
if not dumps:
    print("real dumps: skipped, no ../shared/realdata beside the source folder")
for form in (["show", "--json"], ["show", "--json", "--offsets"]):
    for dump in dumps:
        run = subprocess.run([cli, *form, str(dump)], capture_output=True, text=True)
        expect(run.returncode == 0, f"{dump.name} loads: {run.stderr}")
        for line in run.stdout.splitlines():
            valid(json.loads(line), f"{' '.join(form)} {dump.name}")

expect(commands == {"show", "set", "diff", "check"}, f"every command has an example: {sorted(commands)}")
print(f"{len(pages)} pages: {passed} passed, {failed} failed")
sys.exit(1 if failed else 0)
