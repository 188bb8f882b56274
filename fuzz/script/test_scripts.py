#!/usr/bin/env python3
"""Collects the small scripts of the script tests as fuzzing seeds.

test_scripts.py <folder> <file> ...: every string literal of a C++ test file
(adjacent literals joined) that holds a "{" is written to a file of its own;
other files (templates and script files of the test data) are copied whole.
"""
import hashlib
import os
import re
import sys

LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')
RUN = re.compile(r'(?:"(?:[^"\\\n]|\\.)*"\s*)+')
ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "\\": "\\", '"': '"', "'": "'", "0": "\0", "a": "\a"}


def decode(body):
    out, i = [], 0
    while i < len(body):
        c = body[i]
        if c == "\\" and i + 1 < len(body):
            nxt = body[i + 1]
            if nxt == "x":
                m = re.match(r"[0-9a-fA-F]{1,2}", body[i + 2:])
                if m:
                    out.append(chr(int(m.group(0), 16)))
                    i += 2 + len(m.group(0))
                    continue
            out.append(ESCAPES.get(nxt, nxt))
            i += 2
            continue
        out.append(c)
        i += 1
    return "".join(out)


def main():
    target = sys.argv[1]
    os.makedirs(target, exist_ok=True)
    count = 0
    for name in sys.argv[2:]:
        if not os.path.isfile(name):
            continue
        with open(name, "rb") as f:
            data = f.read()
        if name.endswith(".cpp"):
            text = data.decode("utf-8", "replace")
            seeds = []
            for run in RUN.finditer(text):
                script = "".join(decode(m.group(1)) for m in LITERAL.finditer(run.group(0)))
                if "{" in script:
                    seeds.append(script.encode("utf-8", "surrogatepass"))
        else:
            seeds = [data]
        for seed in seeds:
            digest = hashlib.sha1(seed).hexdigest()[:16]
            with open(os.path.join(target, "test-" + digest), "wb") as f:
                f.write(seed)
            count += 1
    print(f"test_scripts: {count} scripts written to {target}")


if __name__ == "__main__":
    main()
