#!/usr/bin/env python3
"""Rewrites a packed setup file: changes its setup script inside setup.cab, or replaces the
cabinet of one [Files] entry, with the entry's stored size following it. For tests that need a
setup file setup-pack would never write (sizes and counts that lie, names that differ).

  repack.py IN OUT [--set KEY=VALUE] [--entry N=VALUE] [--cab N=CABFILE] [--drop N]

  --set KEY=VALUE    a [Setup] key (added when missing)
  --entry N=VALUE    the raw value of [Files] key N ("{size}" stands for the stored size)
  --cab N=CABFILE    the cabinet of entry N, its size written into the entry's second field
  --drop N           removes [Files] key N and its cabinet from the payload

Needs cabextract, and setup-pack in $SETUP_PACK to write the new setup.cab.
"""
import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import payload  # noqa: E402


def parse_ini(text):
    """[(section, [lines])] keeping every line as it is."""
    sections = [("", [])]
    for line in text.split("\n"):
        stripped = line.strip()
        if stripped.startswith("[") and "]" in stripped:
            sections.append((stripped[1:stripped.rindex("]")], [line]))
        else:
            sections[-1][1].append(line)
    return sections


def key_of(line):
    return line.split("=", 1)[0].strip() if "=" in line else None


def files_entries(sections):
    for name, lines in sections:
        if name.lower() == "files":
            return {key_of(l): l.split("=", 1)[1].rstrip("\r") for l in lines[1:] if key_of(l)}
    return {}


def set_key(sections, section, key, value):
    for name, lines in sections:
        if name.lower() == section.lower():
            for i, line in enumerate(lines):
                if key_of(line) is not None and key_of(line).lower() == key.lower():
                    lines[i] = "%s=%s\r" % (key, value)
                    return
            at = len(lines)
            while at > 1 and not lines[at - 1].strip():
                at -= 1
            lines.insert(at, "%s=%s\r" % (key, value))
            return
    sections.append((section, ["[%s]\r" % section, "%s=%s\r" % (key, value)]))


def drop_key(sections, section, key):
    for name, lines in sections:
        if name.lower() == section.lower():
            lines[:] = [l for l in lines if key_of(l) != key]


def main():
    args = sys.argv[1:]
    source, target = args[0], args[1]
    changes = [(args[i], args[i + 1]) for i in range(2, len(args), 2)]
    data = open(source, "rb").read()
    start, length = payload.split(data)
    stub = data[:start]
    setup_cab = data[start + 10:start + 10 + length]
    rest = data[start + 10 + length:-10]
    with tempfile.TemporaryDirectory() as work:
        cab_path = os.path.join(work, "setup.cab")
        open(cab_path, "wb").write(setup_cab)
        unpacked = os.path.join(work, "unpacked")
        subprocess.run(["cabextract", "-q", "-d", unpacked, cab_path], check=True)
        script_path = os.path.join(unpacked, "setup.ini")
        sections = parse_ini(open(script_path, newline="", encoding="latin-1").read())
        entries = files_entries(sections)
        count = int(re.sub(r"\D", "", next(
            (l.split("=", 1)[1] for n, ls in sections if n.lower() == "setup" for l in ls
             if key_of(l) and key_of(l).lower() == "filescount"), "0")) or "0")
        # The payload's cabinets in key order, as the setup program reads them.
        cabinets, at = {}, 0
        for n in range(count):
            entry = entries.get(str(n))
            if not entry:
                continue
            size = int(entry.split("?")[1].strip())
            cabinets[n] = rest[at:at + size]
            at += size
        for option, value in changes:
            if option == "--set":
                key, text = value.split("=", 1)
                set_key(sections, "Setup", key, text)
            elif option == "--entry":
                number, text = value.split("=", 1)
                size = len(cabinets.get(int(number), b""))
                set_key(sections, "Files", number, text.replace("{size}", str(size)))
            elif option == "--cab":
                number, path = value.split("=", 1)
                cabinets[int(number)] = open(path, "rb").read()
                fields = files_entries(sections)[number].split("?")
                fields[1] = str(len(cabinets[int(number)]))
                set_key(sections, "Files", number, "?".join(fields))
            elif option == "--drop":
                drop_key(sections, "Files", value)
                cabinets.pop(int(value), None)
            else:
                sys.exit("unknown option " + option)
        text = "\n".join(line for _, lines in sections for line in lines)
        open(script_path, "w", newline="", encoding="latin-1").write(text)
        names = sorted(os.listdir(unpacked))
        subprocess.run([os.environ["SETUP_PACK"], "cab", "--out", cab_path] +
                       [os.path.join(unpacked, n) for n in names], check=True,
                       stdout=subprocess.DEVNULL)
        new_setup_cab = open(cab_path, "rb").read()
    file_cabs = [cabinets[n] for n in sorted(cabinets)]
    out = payload.join(stub, new_setup_cab, file_cabs)
    open(target, "wb").write(out)
    os.chmod(target, 0o755)


if __name__ == "__main__":
    main()
