#!/usr/bin/env python3
"""The package's copyright file as Debian's own parser reads it: it is in the
machine-readable format, every licence it names has its text, Veltra's files
come under LICENSE's terms, and each part built in under every copyright and
the licence that its own package's copyright file states for what is built
in: the headers it installs (SOURCE is FOLDER/), or its data (SOURCE is the
file the build makes from it).

    copyright_test.py COPYRIGHT LICENSE [PART SOURCE PART_COPYRIGHT]...
"""
import re
import sys
from pathlib import Path

from debian.copyright import Copyright

copyright_file, license_file, *parts = sys.argv[1:]
failed = []


def expect(holds, what):
    if not holds:
        failed.append(what)


def lines(text):
    return [line.strip() for line in text.split("\n") if line.strip()]


def licence_texts(copyright, paragraph):
    """A Files paragraph's licence texts by name: its own text for its whole
    licence, or each licence its expression names ("A or B") with the text
    of that licence's License paragraph ("" where there is none)."""
    if paragraph.license.text:
        return {paragraph.license.synopsis: paragraph.license.text}
    standalone = {p.license.synopsis: p.license.text for p in copyright.all_license_paragraphs()}
    names = [name for name in re.split(r"\s+(?:or|and)\s+|,\s*", paragraph.license.synopsis.strip()) if name]
    return {name: standalone.get(name, "") for name in names}


# strict: a missing Format, Files, Copyright or License field is an error.
ours = Copyright(Path(copyright_file).open(), strict=True)

for paragraph in ours.all_files_paragraphs():
    for name, text in licence_texts(ours, paragraph).items():
        expect(text.strip(), f"{' '.join(paragraph.files)}: no text for the licence {name}")

head, _, terms = Path(license_file).read_text().strip().partition("\n\n")
expect(ours.header.upstream_name == head.split("\n")[0], f"Upstream-Name is {ours.header.upstream_name}")
own = ours.find_files_paragraph("rom/load.cpp")
expect(own is not None and lines(own.copyright) == lines(head)[1:],
       f"Veltra's files: Copyright is not LICENSE's: {own and own.copyright!r}")
expect(own is not None and [lines(t) for t in licence_texts(ours, own).values()] == [lines(terms)],
       "Veltra's files: the licence text is not LICENSE's")

# Each part: what is built in falls under a paragraph with every copyright
# line and the licence texts that its package states for each installed
# header, or for its whole source where the part is its data.
for name, source, part_copyright in zip(parts[0::3], parts[1::3], parts[2::3]):
    theirs = Copyright(Path(part_copyright).open())
    folder = source.rstrip("/")
    mine = ours.find_files_paragraph(f"{folder}/header.hpp" if source.endswith("/") else source)
    if mine is None or mine is own:
        failed.append(f"{name}: no paragraph for {source}")
        continue
    if source.endswith("/"):
        headers = [h for h in Path("/usr/include", folder).rglob("*") if h.is_file()]
        expect(headers, f"{name}: no headers in /usr/include/{folder}")
        stated = {id(p): p for p in (theirs.find_files_paragraph(f"include/{h.relative_to('/usr/include')}")
                                     for h in headers)}
    else:
        stated = {id(p): p for p in theirs.all_files_paragraphs() if "*" in p.files}
        expect(stated, f"{name}: {part_copyright} has no paragraph for its whole source")
    for paragraph in stated.values():
        if paragraph is None:
            continue
        expect(mine.license.synopsis == paragraph.license.synopsis,
               f"{name}: licence {mine.license.synopsis}, its package says {paragraph.license.synopsis}")
        ours_texts = {n: lines(t) for n, t in licence_texts(ours, mine).items()}
        their_texts = {n: lines(t) for n, t in licence_texts(theirs, paragraph).items()}
        expect(ours_texts == their_texts, f"{name}: the licence texts differ from {part_copyright}'s")
        missing = [line for line in lines(paragraph.copyright) if line not in lines(mine.copyright)]
        expect(not missing, f"{name}: Copyright lacks {missing}")

for what in failed:
    print("FAILED:", what)
sys.exit(1 if failed else 0)
