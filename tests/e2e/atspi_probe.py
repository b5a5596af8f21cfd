#!/usr/bin/python3
"""Reads the program's windows through the AT-SPI bus, as a screen reader does.

  atspi_probe.py tree WINDOW             prints the window's tree: role, name, value, range
  atspi_probe.py do WINDOW NAME ACTION   does the named element's action
  atspi_probe.py texts WINDOW            prints the names of the window's labels
  atspi_probe.py has WINDOW              exits 0 when the window is on the bus
  atspi_probe.py focused WINDOW          prints the element with the keyboard focus

WINDOW is a window's accessible name (its title). Exits 1 when what is asked
for is not found.
"""
import sys

import pyatspi


def windows():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None:
            continue
        for window in app:
            if window is not None:
                yield window


def window_named(name):
    for window in windows():
        if window.name == name:
            return window
    return None


def value_text(node):
    try:
        value = node.queryValue()
    except NotImplementedError:
        return ""
    return " value=%g range=%g..%g step=%g" % (value.currentValue, value.minimumValue,
                                                value.maximumValue, value.minimumIncrement)


def walk(node, depth=0):
    yield depth, node
    for child in node:
        if child is not None:
            yield from walk(child, depth + 1)


def describe(node):
    text = "%s '%s'" % (node.getRoleName(), node.name)
    try:
        text_value = node.queryText().getText(0, -1)
    except NotImplementedError:
        text_value = ""
    states = node.getState()
    flags = [flag for flag, state in (("disabled", not states.contains(pyatspi.STATE_ENABLED)),
                                      ("focused", states.contains(pyatspi.STATE_FOCUSED)),
                                      ("checked", states.contains(pyatspi.STATE_CHECKED)))
             if state]
    if node.description:
        text += " (%s)" % node.description
    if text_value:
        text += " text='%s'" % text_value
    return text + value_text(node) + ("" if not flags else " [" + ", ".join(flags) + "]")


def main(argv):
    if len(argv) < 3:
        print(__doc__)
        return 2
    command, window = argv[1], window_named(argv[2])
    if window is None:
        print("no window named %r on the bus" % argv[2], file=sys.stderr)
        return 1
    if command == "has":
        return 0
    if command == "tree":
        for depth, node in walk(window):
            print("  " * depth + describe(node))
        return 0
    if command == "focused":
        for _, node in walk(window):
            if node is not window and node.getState().contains(pyatspi.STATE_FOCUSED):
                print(describe(node))
                return 0
        return 1
    if command == "texts":
        for _, node in walk(window):
            if node.getRoleName() == "label" and node.name:
                print(node.name)
        return 0
    if command == "do" and len(argv) == 5:
        for _, node in walk(window):
            if node.name != argv[3]:
                continue
            action = node.queryAction()
            for i in range(action.nActions):
                if action.getName(i).lower() == argv[4].lower():
                    action.doAction(i)
                    return 0
            names = [action.getName(i) for i in range(action.nActions)]
            print("%r has no action %r (only %s)" % (argv[3], argv[4], names), file=sys.stderr)
            return 1
        print("no element named %r" % argv[3], file=sys.stderr)
        return 1
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
