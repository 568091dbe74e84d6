#!/usr/bin/env python3
"""Turns one manual source (manual/*.txt) into the program's --help and --version texts (a C++
header) and its manual page (roff), so that the two can never disagree.

Source format, line by line:
  "key: value" lines at the top: name, section, date, summary (the manual page's header).
  A line of capitals alone ("OPTIONS", "EXIT STATUS") starts a section.
  In SYNOPSIS every line is one usage line.
  In ARGUMENTS, OPTIONS, GAME CONTROLLERS, ENVIRONMENT, FILES and EXIT STATUS an unindented line
  is a term and the
  indented lines below it describe it; elsewhere blank lines separate paragraphs.
  Inline, **word** is bold and *word* italic in the manual page; --help shows the plain word.
  @KEY@ is replaced by the value given with --define KEY=VALUE (installation paths).
The --help text is the SYNOPSIS, the first DESCRIPTION paragraph, ARGUMENTS and OPTIONS.
"""
import argparse
import gzip
import os
import re
import sys
import textwrap

LIST_SECTIONS = {"ARGUMENTS", "OPTIONS", "GAME CONTROLLERS", "ENVIRONMENT", "FILES", "EXIT STATUS"}
HELP_LISTS = ("ARGUMENTS", "OPTIONS")
HEADING = re.compile(r"^[A-Z][A-Z ]*[A-Z]$")
HEADER_KEYS = ("name", "section", "date", "summary")


class SourceError(Exception):
    pass


def parse(text, path):
    """Returns (header dict, list of (section name, body)) where a body is a list of paragraphs
    (strings) or of (term, description) pairs."""
    header, sections = {}, []
    lines = text.split("\n")
    index = 0
    while index < len(lines) and lines[index].strip():
        key, sep, value = lines[index].partition(":")
        if not sep or key not in HEADER_KEYS:
            raise SourceError(f"{path}:{index + 1}: expected one of {', '.join(HEADER_KEYS)}")
        header[key] = value.strip()
        index += 1
    missing = [k for k in HEADER_KEYS if k not in header]
    if missing:
        raise SourceError(f"{path}: header lacks {', '.join(missing)}")

    current, block, new_paragraph = None, [], True
    for number, line in enumerate(lines[index:], start=index + 1):
        if HEADING.match(line):
            if current:
                sections.append((current, block))
            current, block, new_paragraph = line, [], True
            continue
        text = line.strip()
        if current is None:
            if text:
                raise SourceError(f"{path}:{number}: text before the first section")
        elif not text:
            new_paragraph = True
        elif current == "SYNOPSIS":
            block.append(text)
        elif current in LIST_SECTIONS:
            if line[0] not in " \t":
                block.append([text, ""])
            elif not block:
                raise SourceError(f"{path}:{number}: description before its term")
            else:
                block[-1][1] = (block[-1][1] + " " + text).strip()
        elif new_paragraph:
            block.append(text)
            new_paragraph = False
        else:
            block[-1] += " " + text
    if current:
        sections.append((current, block))
    names = [name for name, _ in sections]
    for needed in ("SYNOPSIS", "DESCRIPTION"):
        if needed not in names:
            raise SourceError(f"{path}: no {needed} section")
    return header, sections


def plain(text):
    """The text without its bold and italic marks."""
    return re.sub(r"\*\*(.+?)\*\*|\*(.+?)\*", lambda m: m.group(1) or m.group(2), text)


def roff_escape(text):
    text = text.replace("\\", "\\e")
    # The dashes of an option name are minus signs, not hyphens, so that it can be copied.
    return re.sub(r"(?<![\w-])--?\w[\w-]*", lambda m: m.group(0).replace("-", "\\-"), text)


def roff_inline(text):
    out = []
    pos = 0
    for m in re.finditer(r"\*\*(.+?)\*\*|\*(.+?)\*", text):
        out.append(roff_escape(text[pos:m.start()]))
        if m.group(1):
            out.append("\\fB" + roff_escape(m.group(1)) + "\\fR")
        else:
            out.append("\\fI" + roff_escape(m.group(2)) + "\\fR")
        pos = m.end()
    out.append(roff_escape(text[pos:]))
    line = "".join(out)
    # roff treats a line that begins with a dot or an apostrophe as a request.
    if line.startswith((".", "'")):
        line = "\\&" + line
    return line


def render_man(header, sections, package, version):
    name = header["name"]
    out = [f'.TH {name.upper()} {header["section"]} "{header["date"]}" '
           f'"{package} {version}" "{package} manual"']
    # Names of files and variables must not be broken at the line's end.
    out += [".nh", ".ad l"]
    out.append(".SH NAME")
    out.append(f"{roff_escape(name)} \\- {roff_escape(header['summary'])}")
    for title, body in sections:
        out.append(f'.SH "{title}"' if " " in title else f".SH {title}")
        if title == "SYNOPSIS":
            out.append(".nf")
            out.extend(roff_inline(usage) for usage in body)
            out.append(".fi")
        elif title in LIST_SECTIONS:
            for term, description in body:
                out.append(".TP")
                first, _, rest = term.partition(" ")
                if "*" not in first:
                    first = f"**{first}**"
                out.append(roff_inline(first + (" " + rest if rest else "")))
                out.append(roff_inline(description))
        else:
            for number, paragraph in enumerate(body):
                if number:
                    out.append(".PP")
                out.append(roff_inline(paragraph))
    return "\n".join(out) + "\n"


def render_help(header, sections, width=79):
    by_name = dict(sections)
    usage = [plain(line) for line in by_name["SYNOPSIS"]]
    lines = ["Usage: " + usage[0]] + ["       " + u for u in usage[1:]]
    first = by_name["DESCRIPTION"][0] if by_name["DESCRIPTION"] else ""
    if first:
        lines.append("")
        lines.extend(textwrap.wrap(plain(first), width))
    for title in HELP_LISTS:
        if title not in by_name:
            continue
        lines.append("")
        lines.append(title.capitalize() + ":")
        for term, description in by_name[title]:
            term = plain(term)
            indent = 24
            wrapped = textwrap.wrap(plain(description), width - indent)
            if len(term) + 2 <= indent - 2:
                lines.append(("  " + term).ljust(indent) + (wrapped[0] if wrapped else ""))
                wrapped = wrapped[1:]
            else:
                lines.append("  " + term)
            lines.extend(" " * indent + w for w in wrapped)
    lines.append("")
    lines.append(f"The manual page {header['name']}({header['section']}) says more.")
    return "\n".join(lines) + "\n"


def render_usage(sections):
    usage = [plain(line) for line in dict(sections)["SYNOPSIS"]]
    return "\n".join(["usage: " + usage[0]] + ["       " + u for u in usage[1:]]) + "\n"


def render_version(header, package, version):
    return (f"{header['name']} ({package}) {version}\n"
            f"{package} is free software under the GNU General Public License, version 3 or later\n"
            "<https://www.gnu.org/licenses/gpl-3.0.html>. There is NO WARRANTY, to the extent\n"
            "permitted by law.\n")


def c_string(text):
    """A C++ string literal, one source line per text line."""
    pieces = []
    for line in text.splitlines(keepends=True):
        escaped = line.replace("\\", "\\\\").replace('"', '\\"').replace("\n", "\\n")
        pieces.append(f'    "{escaped}"')
    return "\n".join(pieces) if pieces else '    ""'


def render_header(header, sections, package, version, source_name):
    space = header["name"].replace("-", "_") + "_manual"
    return (f"// Generated from manual/{source_name} by manual/render_manual.py; edit that file.\n"
            "#pragma once\n\n"
            f"namespace {space} {{\n\n"
            "// The usage lines, shown after a command-line error.\n"
            f"inline constexpr char kUsage[] =\n{c_string(render_usage(sections))};\n\n"
            "// The text of --help.\n"
            f"inline constexpr char kHelp[] =\n{c_string(render_help(header, sections))};\n\n"
            "// The text of --version.\n"
            f"inline constexpr char kVersion[] =\n{c_string(render_version(header, package, version))};\n\n"
            f"}}  // namespace {space}\n")


def write_if_changed(path, text):
    """Writes through a temporary file and a rename, and leaves an unchanged file alone so that
    nothing that includes it is rebuilt. A path ending in ".gz" gets the text gzip-compressed,
    without a time stamp, so that the same text always gives the same bytes."""
    data = text.encode("utf-8")
    if path.endswith(".gz"):
        data = gzip.compress(data, compresslevel=9, mtime=0)
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except FileNotFoundError:
        pass
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    temp = f"{path}.{os.getpid()}.tmp"
    with open(temp, "wb") as f:
        f.write(data)
        f.flush()
        os.fsync(f.fileno())
    os.replace(temp, path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("source")
    parser.add_argument("--header", help="C++ header to write")
    parser.add_argument("--man", help="manual page to write")
    parser.add_argument("--package", default="Celestrix")
    parser.add_argument("--version", required=True)
    parser.add_argument("--define", action="append", default=[], metavar="KEY=VALUE",
                        help="replace @KEY@ in the source by VALUE (installation paths)")
    args = parser.parse_args()
    with open(args.source, encoding="utf-8") as f:
        text = f.read()
    for definition in args.define:
        key, _, value = definition.partition("=")
        text = text.replace(f"@{key}@", value)
    if re.search(r"@[A-Z_]+@", text):
        sys.exit(f"render_manual: {args.source}: {re.search(r'@[A-Z_]+@', text).group(0)} is not defined")
    try:
        header, sections = parse(text, args.source)
    except SourceError as error:
        sys.exit(f"render_manual: {error}")
    if args.header:
        write_if_changed(args.header, render_header(header, sections, args.package, args.version,
                                                    os.path.basename(args.source)))
    if args.man:
        write_if_changed(args.man, render_man(header, sections, args.package, args.version))


if __name__ == "__main__":
    main()
