# File output shared by the data generators: creates folders and replaces each file through a
# temporary file in the same folder, so an interrupted run never leaves a half-written file.
import os


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
