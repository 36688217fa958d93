#!/usr/bin/python3
"""check_copyright.py OUT VERSION HOLDER YEAR: the package's
/usr/share/doc/qlx50-manager/copyright is a machine-readable copyright file
(Debian's copyright format 1.0): a header paragraph with the format's
address, Files paragraphs with Copyright and License, every license short
name given its text, only the format's fields; the holder named for the
year of the release."""
import glob
import re
import subprocess
import sys

FORMAT = "https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
HEADER_FIELDS = {"Format", "Upstream-Name", "Upstream-Contact", "Source", "Disclaimer", "Comment", "License",
                 "Copyright", "Files-Excluded"}
FILES_FIELDS = {"Files", "Copyright", "License", "Comment"}
LICENSE_FIELDS = {"License", "Comment"}
PATH = "./usr/share/doc/qlx50-manager/copyright"


def fail(reason):
    print("FAIL: " + reason)
    sys.exit(1)


def paragraphs(text):
    """Paragraphs as lists of (field, first line, continuation lines)."""
    result, current = [], []
    for number, line in enumerate(text.split("\n"), 1):
        if line.strip() == "":
            if current:
                result.append(current)
            current = []
        elif line[0] in " \t":
            if not current:
                fail(f"line {number}: a continuation line with no field before it")
            current[-1][2].append(line[1:])
        else:
            m = re.match(r"([!-9;-~][!-9;-~]*):(.*)$", line)
            if not m:
                fail(f"line {number} is neither a field nor a continuation: {line!r}")
            name = m.group(1)
            if any(f[0].lower() == name.lower() for f in current):
                fail(f"line {number}: field {name} twice in one paragraph")
            current.append((name, m.group(2).strip(), []))
    if current:
        result.append(current)
    return result


def fields(paragraph):
    return {name: (first, rest) for name, first, rest in paragraph}


def main():
    out, version, holder, year = sys.argv[1:5]
    debs = glob.glob(f"{out}/qlx50-manager_{version}_*.deb")
    if len(debs) != 1:
        fail(f"no package in {out} (Packaging.DebianPackageBuilds)")
    deb = debs[0]
    listing = subprocess.run(["dpkg-deb", "-c", deb], check=True, capture_output=True, text=True).stdout
    if not any(line.split()[-1] == PATH for line in listing.splitlines()):
        fail(f"the package has no {PATH}")
    tar = subprocess.run(["dpkg-deb", "--fsys-tarfile", deb], check=True, capture_output=True).stdout
    raw = subprocess.run(["tar", "-xO", PATH], input=tar, check=True, capture_output=True).stdout
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError:
        fail("the copyright file is not UTF-8 text")
    if not text.endswith("\n"):
        fail("the copyright file does not end with a line feed")

    paras = paragraphs(text)
    header = fields(paras[0])
    if header.get("Format", ("",))[0] != FORMAT:
        fail(f"the first paragraph's Format is not {FORMAT}")
    unknown = set(header) - HEADER_FIELDS
    if unknown:
        fail(f"unknown header fields {sorted(unknown)}")
    if not header.get("Upstream-Name", ("",))[0]:
        fail("no Upstream-Name")

    needed, given, files_paras = set(), set(), []
    for p in paras[1:]:
        f = fields(p)
        if "Files" in f:
            files_paras.append(f)
            missing = {"Copyright", "License"} - set(f)
            if missing:
                fail(f"Files: {f['Files'][0]} lacks {sorted(missing)}")
            if set(f) - FILES_FIELDS:
                fail(f"Files: {f['Files'][0]} has unknown fields {sorted(set(f) - FILES_FIELDS)}")
            name, text_lines = f["License"]
            (given if text_lines else needed).add(name)
        elif "License" in f:
            if set(f) - LICENSE_FIELDS:
                fail(f"License: {f['License'][0]} has unknown fields {sorted(set(f) - LICENSE_FIELDS)}")
            name, text_lines = f["License"]
            if not text_lines:
                fail(f"the License paragraph {name} has no text")
            given.add(name)
        else:
            fail(f"a paragraph that is neither Files nor License: {sorted(f)}")
    if not files_paras:
        fail("no Files paragraph")
    if files_paras[0]["Files"][0] != "*":
        fail("the first Files paragraph is not 'Files: *'")
    for name in needed:
        if name not in given:
            fail(f"the license {name} has no text")
    if any(" " in name for name in needed | given):
        fail("a license short name with a blank")

    first, rest = files_paras[0]["Copyright"]
    notices = [first] + rest
    pattern = re.compile(r"(\d{4}-)?" + re.escape(year) + r" " + re.escape(holder) + r"$")
    if not any(pattern.match(n.strip()) for n in notices):
        fail(f"'Files: *' does not name {holder} for {year}: {notices}")
    print(f"{PATH}: machine-readable, {len(files_paras)} Files paragraph(s), licenses {sorted(given)}")


main()
