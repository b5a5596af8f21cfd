#!/usr/bin/python3
"""No class or struct under src/ has a public data member named m_…: a class's
state is written through its own functions. Prints each one found and fails.

  public_members.py SOURCE_DIR
"""
import pathlib
import re
import sys

HEAD = re.compile(r"\s*(class|struct)\s+(\w+)[^;]*\{")
ACCESS = re.compile(r"\s*(public|private|protected)\s*:")
MEMBER = re.compile(r"\s*[\w:<>,\* &]+\s+m_\w+(\[.*\])?\s*(=[^;]*|\{[^;]*\})?;")


def public_members(path):
    found = []
    stack = []  # [name, access, depth at its opening]
    depth = 0
    for number, line in enumerate(path.read_text(encoding="utf-8").split("\n"), 1):
        head = HEAD.match(line)
        if head:
            stack.append([head.group(2), "private" if head.group(1) == "class" else "public", depth])
        access = ACCESS.match(line)
        if access and stack:
            stack[-1][1] = access.group(1)
        if stack and stack[-1][1] == "public" and depth == stack[-1][2] + 1:
            if MEMBER.match(line) and "(" not in line.split("=")[0]:
                found.append("%s:%d: %s: %s" % (path, number, stack[-1][0], line.strip()))
        depth += line.count("{") - line.count("}")
        while stack and depth <= stack[-1][2]:
            stack.pop()
    return found


def main():
    root = pathlib.Path(sys.argv[1]) / "src"
    found = [f for header in sorted(root.rglob("*.h")) for f in public_members(header)]
    for f in found:
        print("FAIL: public data member " + f)
    if found:
        return 1
    print("public members: none")
    return 0


if __name__ == "__main__":
    sys.exit(main())
