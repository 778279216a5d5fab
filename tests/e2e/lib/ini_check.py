"""ini_check.py FILE COMMAND ...: facts about an INI file, read by the rules of the system's
profile service (lines end with CR LF, LF or CR; ';' starts a comment; a line without '=' is no
key; names without regard to case; the first of repeated keys counts).

  get SECTION KEY        prints the value (exit 1 when missing)
  values SECTION         prints the section's values in key order, one a line
  has SECTION VALUE      exit 1 unless a key of the section has exactly that value
  same-as OTHER SECTION  exit 1 unless both files hold the same keys and values in the same
                         order, except that SECTION's values need only be among OTHER's
  within OTHER           exit 1 unless the file is well formed and every value of its sections
                         is among the values of the same section in OTHER
  wellformed             exit 1 unless every line is blank, a comment, a header or key=value,
                         and the keys of each section are unique
"""
import re
import sys


def parse(path):
    data = open(path, "rb").read().decode("latin-1")
    sections, order, bad = {}, [], []
    current = sections.setdefault("", [])
    for line in re.split(r"\r\n|\n|\r", data):
        text = line.strip(" \t\v\f\x1a")
        if not text or text.startswith(";"):
            continue
        if text.startswith("[") and "]" in text[1:]:
            name = text[1:text.rindex("]")].strip().lower()
            current = sections.setdefault(name, [])
            continue
        if "=" not in text:
            bad.append(line)
            continue
        key, value = text.split("=", 1)
        current.append((key.strip(), value.strip()))
    return sections, bad


def malformed(sections, bad):
    problems = ["no key line: %r" % line for line in bad]
    for name, keys in sections.items():
        names = [k.lower() for k, _ in keys]
        problems += ["key %s twice in [%s]" % (k, name) for k in sorted(set(names))
                     if names.count(k) > 1]
    return problems


def main():
    path, command, args = sys.argv[1], sys.argv[2], sys.argv[3:]
    sections, bad = parse(path)
    if command == "get":
        for key, value in sections.get(args[0].lower(), []):
            if key.lower() == args[1].lower():
                print(value)
                return 0
        return 1
    if command == "values":
        for _, value in sections.get(args[0].lower(), []):
            print(value)
        return 0
    if command == "has":
        return 0 if any(v == args[1] for _, v in sections.get(args[0].lower(), [])) else 1
    if command == "same-as":
        other, _ = parse(args[0])
        loose = args[1].lower()
        ok = True
        for name in sorted(set(sections) | set(other)):
            mine, theirs = sections.get(name, []), other.get(name, [])
            if name == loose:
                extra = {v for _, v in mine} - {v for _, v in theirs}
                if extra:
                    print("[%s] holds %s" % (name, sorted(extra)), file=sys.stderr)
                    ok = False
            elif mine != theirs:
                print("[%s] differs: %s against %s" % (name, mine, theirs), file=sys.stderr)
                ok = False
        return 0 if ok else 1
    if command == "within":
        other, _ = parse(args[0])
        problems = malformed(sections, bad)
        for name, keys in sections.items():
            extra = {v for _, v in keys} - {v for _, v in other.get(name, [])}
            if extra:
                problems.append("[%s] holds %s" % (name, sorted(extra)))
        for problem in problems:
            print(problem, file=sys.stderr)
        return 1 if problems else 0
    if command == "wellformed":
        for problem in malformed(sections, bad):
            print(problem, file=sys.stderr)
        return 1 if malformed(sections, bad) else 0
    raise SystemExit("unknown command " + command)


sys.exit(main())
