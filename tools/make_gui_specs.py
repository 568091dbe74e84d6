#!/usr/bin/env python3
# Generates guispecs.cfg (live mode) and vcrspecs.cfg (replay mode), the layout files of the
# simulator's on-screen controls, and their pristine copies in "Backup Default Config/".
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gui_layout  # noqa: E402
from output import write_text, run_data_generator  # noqa: E402


def spec_text(title, components):
    lines = [
        "# " + title,
        "# Values are read by position; the text before \" = \" is only a label.",
        "# Per component: hit mode (1: each button has its own 32 x 32 hit square), hit height and",
        "# width (used with hit mode 0 only), x and y offset of the group in pixels, number of",
        "# icons; then the icon files, their sizes in pixels and, per icon, x (from the right",
        "# screen edge) and y. Icons come in pairs: off, then on.",
        "number of components = %d" % len(components),
    ]
    for index, (comment, y_offset, buttons, *placement) in enumerate(components):
        x_offset = placement[0] if placement else 0
        notes = ["# " + note for note in placement[1:]]
        icons = []
        for name, x, y in buttons:
            icons.append((gui_layout.icon_path(name, False), x, y))
            icons.append((gui_layout.icon_path(name, True), x, y))
        lines += [
            "#",
            "# component %d: %s" % (index, comment),
        ] + notes + [
            "hit mode = 1",
            "hit height = %d" % gui_layout.BUTTON_SIZE,
            "hit width = %d" % gui_layout.BUTTON_SIZE,
            "x offset = %d" % x_offset,
            "y offset = %d" % y_offset,
            "number of icons = %d" % len(icons),
        ]
        lines += ["icon file = %s" % path for path, _, _ in icons]
        lines += ["icon size = %d" % gui_layout.BUTTON_SIZE for _ in icons]
        for path, x, y in icons:
            lines += ["icon x = %d" % x, "icon y = %d" % y]
    lines.append("-999")
    return "\n".join(lines) + "\n"


def build(out_dir):
    files = {
        "guispecs.cfg": spec_text("On-screen controls in live mode.", gui_layout.LIVE),
        "vcrspecs.cfg": spec_text("On-screen controls in replay mode.", gui_layout.REPLAY),
    }
    written = []
    for name, text in sorted(files.items()):
        for relative in (name, "Backup Default Config/" + name):
            write_text(os.path.join(out_dir, relative), text)
            written.append(relative)
    return written


def main():
    run_data_generator(build, "Generates the on-screen control layouts.")


if __name__ == "__main__":
    main()
