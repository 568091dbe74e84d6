# File output shared by the data generators: creates folders and replaces each file through a
# temporary file in the same folder, so an interrupted run never leaves a half-written file.
import argparse
import os

DEFAULT_DATA_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")


def write_bytes(path, data):
    folder = os.path.dirname(path)
    if folder:
        os.makedirs(folder, exist_ok=True)
    temp = path + ".tmp"
    with open(temp, "wb") as handle:
        handle.write(data)
    os.replace(temp, path)


def write_text(path, text):
    """Writes text with "\\n" line ends, whatever the platform."""
    write_bytes(path, text.encode("utf-8"))


def data_dir_parser(description):
    """A command line with --out, the data directory to write into (the repository's data/ unless given)."""
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--out", default=DEFAULT_DATA_DIR,
                        help="data directory to write into (default: the repository's data/)")
    return parser


def run_data_generator(build, description):
    """The whole command line of a generator that needs only --out: builds into that folder."""
    build(data_dir_parser(description).parse_args().out)
