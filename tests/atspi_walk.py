#!/usr/bin/python3
"""Walks the running program's window over AT-SPI, as a screen reader does, and checks names,
roles, the panel's text and the value boxes after "次　へ" is pressed through the bus."""
import sys
import time

import pyatspi


def find(node, pred, depth=0):
    if pred(node):
        return node
    if depth > 8:
        return None
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            hit = find(child, pred, depth + 1)
            if hit is not None:
                return hit
    return None


def press_named(parent, name):
    button = find(parent, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == name)
    if button is None:
        fail("no button %r" % name)
    action = button.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "click"):
            action.doAction(i)
            return
    fail("%r offers no press action" % name)


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


def main():
    desktop = pyatspi.Registry.getDesktop(0)
    app = None
    for _ in range(100):
        for i in range(desktop.childCount):
            candidate = desktop.getChildAtIndex(i)
            if candidate is not None and candidate.name == "pythagorean-triples":
                app = candidate
        if app is not None and app.childCount > 0:
            break
        time.sleep(0.1)
    if app is None or app.childCount == 0:
        fail("the program did not appear on the accessibility bus")

    frame = app.getChildAtIndex(0)
    if frame.getRole() != pyatspi.ROLE_FRAME or not frame.name.startswith(" ピタゴラス数 "):
        fail("window: %s %r" % (frame.getRoleName(), frame.name))

    buttons = sorted(c.name for c in frame if c.getRole() == pyatspi.ROLE_PUSH_BUTTON)
    if buttons != sorted(["次\u3000へ", "初期化", "終了"]):
        fail("buttons: %r" % buttons)
    names = [c.name for c in frame]
    if len(names) != 13:
        fail("the window presents %d controls: %r" % (len(names), names))

    labels = [c for c in frame if c.getRole() == pyatspi.ROLE_LABEL]
    values = [c.name for c in labels if c.description in ("ａ", "ｂ", "ｃ")]
    if values != ["3", "4", "5"]:
        fail("values: %r" % values)

    panel = find(frame, lambda n: n.name == "説明")
    if panel is None:
        fail("no explanation panel")
    text = panel.queryText()
    content = text.getText(0, text.characterCount)
    if not content.startswith("\n\u3000三平方の定理") or "プラトンの方法" not in content:
        fail("panel text: %r" % content[:60])

    press_named(frame, "次\u3000へ")
    for _ in range(50):
        values = [c.name for c in frame if c.getRole() == pyatspi.ROLE_LABEL and c.description in ("ａ", "ｂ", "ｃ")]
        if values == ["4", "3", "5"]:
            break
        time.sleep(0.1)
    else:
        fail("after Next the values read %r" % values)
    # Exit asks its question as a dialog; Yes, pressed through the bus, ends the program.
    press_named(frame, "終了")
    dialog = None
    for _ in range(50):
        dialog = find(app, lambda n: n.getRole() in (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG))
        if dialog is not None:
            break
        time.sleep(0.1)
    if dialog is None:
        fail("no exit question")
    texts = dialog.name + dialog.description + "".join(c.name for c in dialog)
    if "終了していいですか？" not in texts:
        fail("the question reads %r" % texts)
    press_named(dialog, "はい(Y)")
    print("atspi: all checks passed")


main()
