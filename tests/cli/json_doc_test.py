#!/usr/bin/env python3
"""docs/json.md against veltra-cli: every example is a valid record, and
running the example's command on the sample images prints exactly it.

    json_doc_test.py VELTRA_CLI MAKE_SAMPLES DOCS_FOLDER
"""
import json
import re
import shlex
import subprocess
import sys
import tempfile
from pathlib import Path

import jsonschema

cli, make_samples, docs = sys.argv[1], sys.argv[2], Path(sys.argv[3])
schema = json.loads((docs / "veltra-cli.schema.json").read_text())
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


# Each example: a ```sh block with the command, then a ```json block with what it prints.
page = (docs / "json.md").read_text()
examples = re.findall(r"```sh\n\$ veltra-cli (.*?)\n```\s*```json\n(.*?)```", page, re.S)
expect(len(examples) == 5, f"five examples in json.md, found {len(examples)}")
commands = set()

with tempfile.TemporaryDirectory() as work:
    subprocess.run([make_samples, "samples"], cwd=work, check=True, stdout=subprocess.DEVNULL)
    for arguments, shown in examples:
        args = shlex.split(arguments)
        commands.add(args[0])
        documented = records(shown)
        for record in documented:
            valid(record, f"example of {arguments}")
        run = subprocess.run([cli] + args, cwd=work, capture_output=True, text=True)
        lines = run.stdout.splitlines()
        printed = [json.loads(line) for line in lines]
        for record in printed:
            valid(record, f"output of {arguments}")
        # Same members, same order, same values.
        expect([json.dumps(r) for r in printed] == [json.dumps(r) for r in documented],
               f"{arguments} prints what json.md shows:\n{run.stdout}")

    # A record the schema must refuse: one it does not describe fully.
    sample = json.loads(subprocess.run([cli, "show", "--json", "samples/gtx680.rom"], cwd=work,
                                       capture_output=True, text=True).stdout)
    for change in ("extra member", "missing boost entry", "value as text"):
        bent = dict(sample)
        if change == "extra member":
            bent["extra"] = 1
        elif change == "missing boost entry":
            del bent["boost-45"]
        else:
            bent["gpu-clock"] = "1006.00"
        expect(not validator.is_valid(bent), f"the schema refuses a record with a {change}")

expect(commands == {"show", "set", "diff", "check"}, f"every command has an example: {sorted(commands)}")
print(f"json.md: {passed} passed, {failed} failed")
sys.exit(1 if failed else 0)
