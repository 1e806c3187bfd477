#!/usr/bin/env python3
"""The package's copyright file as Debian's own parser reads it: it is in the
machine-readable format, every licence it names has its text, Veltra's files
come under LICENSE's terms, and each part built in under every copyright and
the licence that its own package's copyright file states for the headers it
installs.

    copyright_test.py COPYRIGHT LICENSE [PART FOLDER PART_COPYRIGHT]...
"""
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


def licence_text(copyright, paragraph):
    """A Files paragraph's licence text: its own, or its License paragraph's."""
    if paragraph.license.text:
        return paragraph.license.text
    standalone = [p.license.text for p in copyright.all_license_paragraphs()
                  if p.license.synopsis == paragraph.license.synopsis]
    return standalone[0] if standalone else ""


# strict: a missing Format, Files, Copyright or License field is an error.
ours = Copyright(Path(copyright_file).open(), strict=True)

for paragraph in ours.all_files_paragraphs():
    expect(licence_text(ours, paragraph).strip(),
           f"{' '.join(paragraph.files)}: no text for the licence {paragraph.license.synopsis}")

head, _, terms = Path(license_file).read_text().strip().partition("\n\n")
expect(ours.header.upstream_name == head.split("\n")[0], f"Upstream-Name is {ours.header.upstream_name}")
own = ours.find_files_paragraph("rom/load.cpp")
expect(own is not None and lines(own.copyright) == lines(head)[1:],
       f"Veltra's files: Copyright is not LICENSE's: {own and own.copyright!r}")
expect(own is not None and lines(licence_text(ours, own)) == lines(terms),
       "Veltra's files: the licence text is not LICENSE's")

# Each part: its headers fall under a paragraph with every copyright line
# and the licence text that its package states for each installed header.
for name, folder, part_copyright in zip(parts[0::3], parts[1::3], parts[2::3]):
    theirs = Copyright(Path(part_copyright).open())
    mine = ours.find_files_paragraph(f"{folder}/header.hpp")
    if mine is None or mine is own:
        failed.append(f"{name}: no paragraph for {folder}/")
        continue
    headers = [h for h in Path("/usr/include", folder).rglob("*") if h.is_file()]
    expect(headers, f"{name}: no headers in /usr/include/{folder}")
    stated = {id(p): p for p in (theirs.find_files_paragraph(f"include/{h.relative_to('/usr/include')}")
                                 for h in headers)}
    for paragraph in stated.values():
        if paragraph is None:
            continue
        expect(mine.license.synopsis == paragraph.license.synopsis,
               f"{name}: licence {mine.license.synopsis}, its package says {paragraph.license.synopsis}")
        expect(lines(licence_text(ours, mine)) == lines(licence_text(theirs, paragraph)),
               f"{name}: the licence text differs from {part_copyright}'s")
        missing = [line for line in lines(paragraph.copyright) if line not in lines(mine.copyright)]
        expect(not missing, f"{name}: Copyright lacks {missing}")

for what in failed:
    print("FAILED:", what)
sys.exit(1 if failed else 0)
