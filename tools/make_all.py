#!/usr/bin/env python3
# Regenerates every generated file of the data directory, bit for bit: fixed seeds, no clock.
# The catalogue and the planet maps need the unpacked Debian packages (see tools/README.md);
# without --packages those two steps are skipped. The Sun and the ring are procedural.
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_default_config  # noqa: E402
import make_gui_specs  # noqa: E402
import make_icons  # noqa: E402
import make_pictures  # noqa: E402
import make_ring_texture  # noqa: E402
import make_sphere_mesh  # noqa: E402
from output import data_dir_parser  # noqa: E402

TOOLS = os.path.dirname(os.path.abspath(__file__))


def main():
    parser = data_dir_parser("Regenerates the data directory.")
    parser.add_argument("--packages",
                        help="folder with the unpacked xplanet, xplanet-images, "
                             "openuniverse-common and kstars-data packages")
    parser.add_argument("--fast", action="store_true",
                        help="only the quick generators (configuration, meshes, layouts, icons)")
    args = parser.parse_args()
    make_default_config.build(args.out)
    make_sphere_mesh.build(args.out)
    make_gui_specs.build(args.out)
    make_icons.build(args.out)
    if args.fast:
        return
    make_pictures.build(args.out)
    make_ring_texture.build(args.out)
    subprocess.run([sys.executable, os.path.join(TOOLS, "make_sun_texture.py"), "--out", args.out],
                   check=True)
    if not args.packages:
        print("no --packages: stars.txt and the planet maps were left as they are")
        return
    packages = args.packages
    subprocess.run([sys.executable, os.path.join(TOOLS, "make_star_catalogue.py"),
                    "--bsc", os.path.join(packages, "usr/share/xplanet/stars/BSC"),
                    "--hipparcos", os.path.join(packages, "usr/share/kstars/stars.dat"),
                    "--out", args.out], check=True)
    subprocess.run([sys.executable, os.path.join(TOOLS, "make_textures.py"),
                    "--packages", packages, "--out", args.out], check=True)


if __name__ == "__main__":
    main()
