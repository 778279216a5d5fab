#!/usr/bin/env python3
"""Takes setup files apart and puts them together, so tests can damage one field at a time.

  payload.py split SETUPFILE OUTDIR          writes stub, setup.cab, file0.cab ... and layout.txt
  payload.py join STUB SETUP.CAB [FILE.cab ...] OUT [--pad N] [--size-field TEXT] [--trailer TEXT]
"""
import os
import sys

DEFAULT_PAYLOAD_OFFSET = 250880


def field(number):
    return b"%010d" % number


def join(stub, setup_cab, file_cabs, pad=None, size_field=None, trailer=None):
    program = stub
    if pad is not None:
        program = stub + b"\0" * (pad - len(stub))
    start = len(program)
    size = size_field.encode() if size_field is not None else field(len(setup_cab))
    tail = trailer.encode() if trailer is not None else field(start)
    return program + size + setup_cab + b"".join(file_cabs) + tail


def split(data):
    at_default = data[DEFAULT_PAYLOAD_OFFSET:DEFAULT_PAYLOAD_OFFSET + 10]
    if len(at_default) == 10 and at_default.isdigit():
        start = DEFAULT_PAYLOAD_OFFSET
    else:
        start = int(data[-10:])
    length = int(data[start:start + 10])
    return start, length


def main():
    args = sys.argv[1:]
    if args[0] == "split":
        data = open(args[1], "rb").read()
        start, length = split(data)
        os.makedirs(args[2], exist_ok=True)
        open(os.path.join(args[2], "stub"), "wb").write(data[:start])
        open(os.path.join(args[2], "setup.cab"), "wb").write(data[start + 10:start + 10 + length])
        open(os.path.join(args[2], "rest"), "wb").write(data[start + 10 + length:-10])
        open(os.path.join(args[2], "layout.txt"), "w").write("%d %d %d\n" % (start, length, len(data)))
        return
    options = {"--pad": None, "--size-field": None, "--trailer": None}
    positional = []
    i = 1
    while i < len(args):
        if args[i] in options:
            options[args[i]] = args[i + 1]
            i += 2
        else:
            positional.append(args[i])
            i += 1
    stub = open(positional[0], "rb").read()
    setup_cab = open(positional[1], "rb").read()
    file_cabs = [open(p, "rb").read() for p in positional[2:-1]]
    pad = int(options["--pad"]) if options["--pad"] else None
    out = join(stub, setup_cab, file_cabs, pad, options["--size-field"], options["--trailer"])
    open(positional[-1], "wb").write(out)
    os.chmod(positional[-1], 0o755)


if __name__ == "__main__":
    main()
