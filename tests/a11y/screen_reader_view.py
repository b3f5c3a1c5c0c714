#!/usr/bin/python3
"""Reads the main window over AT-SPI, as a screen reader does, and checks that every control a
user can reach has a name and that the pause button's name follows its picture.

Usage: screen_reader_view.py PROGRAM, inside `dbus-run-session`. It starts its own X server: the
offscreen platform has no AT-SPI bridge."""
import os
import struct
import subprocess
import sys
import tempfile
import time

import pyatspi

NAMED_ROLES = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_SLIDER, pyatspi.ROLE_LIST,
               pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TABLE,
               pyatspi.ROLE_COMBO_BOX}
BUTTONS = ["Start", "Stop", "Pauze", "Next", "Playtime", "Mp3 info", "Wis song", "Wis alles",
           "Copyeer song", "Copyeer alle songs", "About", "Meer software...",
           "Uitleg programma", "Zoeken in bestand", "Print actuele playlist",
           "Playlist opslaan", "Playlist laden", "Afsluiten en gegevens opslaan"]
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)


def wait_for(condition, what, seconds=20.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            found = condition()
            if found:
                return found
        except Exception:  # the tree is still being built
            pass
        time.sleep(0.1)
    check(False, "waited in vain for " + what)
    return None


def song(seconds):
    """A one-note MIDI song of `seconds` (480 ticks a beat at 120 beats a minute)."""
    ticks = 960 * seconds
    length = bytes([0x80 | (ticks >> 14) & 0x7F, 0x80 | (ticks >> 7) & 0x7F, ticks & 0x7F])
    track = b"\0\x90\x3c\x50" + length + b"\x80\x3c\x40\0\xff\x2f\0"
    return (b"MThd" + struct.pack(">IHHH", 6, 0, 1, 480) + b"MTrk" +
            struct.pack(">I", len(track)) + track)


def controls(node):
    """Every object under `node`, without the items inside lists, trees and combo boxes."""
    for child in node:
        if child is None:
            continue
        yield child
        if child.getRole() not in NAMED_ROLES:
            yield from controls(child)


def shown(node, role):
    return [c for c in controls(node)
            if c.getRole() == role and c.getState().contains(pyatspi.STATE_SHOWING)]


def named(node, role, name):
    return next(c for c in shown(node, role) if c.name == name)


def x_server():
    """An Xvfb on the first free display; the server itself picks it and reports it when ready."""
    read, write = os.pipe()
    # -noreset: the accessibility bus launcher connects and leaves again before the program
    # starts; a server that resets when its last client leaves refuses connections meanwhile.
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                               "-nolisten", "tcp", "-noreset"], pass_fds=[write])
    os.close(write)
    with os.fdopen(read) as f:
        return server, ":" + f.readline().strip()


def main(program, folder):
    with open(os.path.join(folder, "Toon.mid"), "wb") as f:
        f.write(song(20))
    server, display = x_server()
    # The accessibility bus and its registry start on first use and must find the X server:
    # the registry presses the mouse button for us.
    subprocess.run(["dbus-update-activation-environment", "DISPLAY=" + display], check=True)
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", SDL_AUDIODRIVER="dummy",
               QT_QPA_PLATFORM="xcb", DISPLAY=display)
    proc = subprocess.Popen([program], cwd=folder, env=env)
    try:
        desktop = pyatspi.Registry.getDesktop(0)
        app = None

        def started():
            nonlocal app
            app = next(a for a in desktop if a is not None and a.name == "Tunara")
            return len(shown(app, pyatspi.ROLE_PUSH_BUTTON)) == len(BUTTONS)
        if not wait_for(started, "the main window"):
            return 1

        for c in controls(app):
            if c.getRole() in NAMED_ROLES and c.getState().contains(pyatspi.STATE_SHOWING):
                check(c.name.strip() != "", "a %s without a name" % c.getRoleName())
        names = {role: sorted(c.name for c in shown(app, role)) for role in NAMED_ROLES}
        check(names[pyatspi.ROLE_PUSH_BUTTON] == sorted(BUTTONS),
              "button names %s" % names[pyatspi.ROLE_PUSH_BUTTON])
        check(names[pyatspi.ROLE_SLIDER] == ["Balance", "Positie", "Volume"],
              "slider names %s" % names[pyatspi.ROLE_SLIDER])
        check(names[pyatspi.ROLE_LIST] == ["Playlist", "Songs"], "lists %s" % names[pyatspi.ROLE_LIST])
        check(names[pyatspi.ROLE_TREE] == ["Mappen"], "tree %s" % names[pyatspi.ROLE_TREE])
        # A combo box's name is its current entry; what it is, the label it is labelled by.
        labels = [r.getTarget(0).name for c in shown(app, pyatspi.ROLE_COMBO_BOX)
                  for r in c.getRelationSet()
                  if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
        check(labels == ["Station"], "combo box labels %s" % labels)
        for label in ("0 Songs / Mp3, Midi", "0 Songs in de playlist", "00:00",
                      "Selecteer met de navigatie de songs..."):
            check(any(c.name == label for c in shown(app, pyatspi.ROLE_LABEL)), "label " + label)

        # A click on the working folder in the tree lists its song; then queue it and play it.
        tree = named(app, pyatspi.ROLE_TREE, "Mappen")
        cell = wait_for(lambda: next(c for c in tree if c and c.name == os.path.basename(folder)),
                        "the working folder in the tree")
        box = cell.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        pyatspi.Registry.generateMouseEvent(box.x + box.width // 2, box.y + box.height // 2, "b1c")
        songs = named(app, pyatspi.ROLE_LIST, "Songs")
        wait_for(lambda: "Toon.mid" in [c.name for c in songs], "the song in the list")
        named(app, pyatspi.ROLE_PUSH_BUTTON, "Copyeer alle songs").queryAction().doAction(0)
        playlist = named(app, pyatspi.ROLE_LIST, "Playlist")
        wait_for(lambda: "Toon" in [c.name for c in playlist], "the song in the playlist")
        named(app, pyatspi.ROLE_PUSH_BUTTON, "Start").queryAction().doAction(0)
        position = named(app, pyatspi.ROLE_SLIDER, "Positie").queryValue()
        wait_for(lambda: position.maximumValue == 20, "the song's length on the position slider")
        wait_for(lambda: position.currentValue > 0, "the position moving on")
        wait_for(lambda: any(c.name == "Toon" for c in shown(app, pyatspi.ROLE_LABEL)),
                 "the info line naming the song")

        pause = named(app, pyatspi.ROLE_PUSH_BUTTON, "Pauze")
        pause.queryAction().doAction(0)
        wait_for(lambda: pause.name == "Resume", "the name Resume while paused")
        start = named(app, pyatspi.ROLE_PUSH_BUTTON, "Start")
        check(not start.getState().contains(pyatspi.STATE_ENABLED), "Start disabled while paused")
        pause.queryAction().doAction(0)
        wait_for(lambda: pause.name == "Pauze", "the name Pauze after resuming")
    finally:
        proc.terminate()
        proc.wait(timeout=20)
        server.terminate()
        server.wait()
    print("%d failure(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    with tempfile.TemporaryDirectory(prefix="tunara-a11y-") as working_folder:
        sys.exit(main(sys.argv[1], working_folder))
