#!/usr/bin/python3
"""Makes a manual page from a template and the --help text of a program.

    make_manpage.py TEMPLATE PROGRAM VERSION OUTPUT

The template's line @HELP@ becomes the help text, verbatim (no filling), with
the program's path in its usage line replaced by its name; @VERSION@ becomes
VERSION. The page and --help say the same because one is made from the other.
"""
import os
import subprocess
import sys


def help_text(program):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    result = subprocess.run([program, "--help"], capture_output=True, text=True, env=env, check=False)
    if result.returncode != 0:
        sys.exit("make_manpage: %s --help failed (%d): %s" % (program, result.returncode, result.stderr))
    return result.stdout.replace(program, os.path.basename(program))


def roff_line(line):
    line = line.replace("\\", "\\e").replace("-", "\\-")
    # a line that begins with a dot or an apostrophe would be a request
    if line.startswith((".", "'")):
        line = "\\&" + line
    return line


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    template, program, version, output = sys.argv[1:]
    with open(template, encoding="utf-8") as f:
        page = f.read()
    block = ".nf\n" + "\n".join(roff_line(l) for l in help_text(program).rstrip("\n").split("\n")) + "\n.fi"
    page = page.replace("@HELP@", block).replace("@VERSION@", version)
    with open(output + ".tmp", "w", encoding="utf-8") as f:
        f.write(page)
    os.replace(output + ".tmp", output)


if __name__ == "__main__":
    main()
