#!/usr/bin/env python3
"""clang-tidy over the translation units of a compile database, each TU
checked again only when something that can change its findings has changed.

A TU found clean is remembered in a cache outside the work tree under a key
made of the clang-tidy version, the .clang-tidy files, the TU's compile
command and the text of every file it includes (with the project's own
folders written relative to the project, so that another clone of the same
sources hits the same entries).  Which files those are, the build recorded
when it compiled the TU (ninja's dependency log); a TU whose object file is
missing or older than one of them is asked of clang's preprocessor instead.
The build's compiler reads its own built-in headers where clang reads
clang's; those come with clang-tidy's version, which the key holds.
A TU with findings is never remembered: its warnings come back on every run
until they are fixed.

A build that compiles several files as one unit (CMake's unity build) lists
the unit in its compile database; each file of it is checked on its own,
with the unit's compile command, and its key counts every file the unit
includes.

Besides that private cache, the keys of the TUs found clean are written to
a ledger in the work tree (tools/clang-tidy-ledger), one "key path" line per
TU, which is committed with the sources: a fresh clone then checks only the
TUs whose key is not in it, that is those that changed since the ledger was
written (or that see other headers, another compiler or another clang-tidy).
Since a key covers everything that can change a finding, an old ledger line
can only fail to match; it can never vouch for a TU that changed.  After a
run the ledger holds exactly the TUs that are clean now.

Usage: tools/clang-tidy-cached.py BUILD_DIR FILE_REGEX [clang-tidy args...]
The cache folder is $HELIDISK_TIDY_CACHE, or else
${XDG_CACHE_HOME:-~/.cache}/helidisk/clang-tidy; the ledger is
$HELIDISK_TIDY_LEDGER, or else tools/clang-tidy-ledger.  Prints clang-tidy's output
of the TUs with findings, then one summary line; exits 1 when a TU has
findings or clang-tidy fails.
"""

import concurrent.futures
import hashlib
import json
import os
import re
import shlex
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
# A TU without a dependency list from the build is asked of clang's
# preprocessor, with the compile command's own include paths and
# definitions: clang-tidy sees what clang's preprocessor sees (__clang__ and
# its own built-in headers).
PREPROCESSOR = "clang++"
# The file of a unity build's unit, which includes the unit's sources.
UNITY_SOURCE = re.compile(r"/Unity/unity_\d+_cxx\.cxx$")


def cache_dir():
    explicit = os.environ.get("HELIDISK_TIDY_CACHE")
    if explicit:
        return Path(explicit)
    base = os.environ.get("XDG_CACHE_HOME") or os.path.join(Path.home(), ".cache")
    return Path(base) / "helidisk" / "clang-tidy"


def tidy_configurations():
    """Every .clang-tidy of the sources: one in a folder applies below it."""
    found = []
    for folder, subfolders, files in os.walk(ROOT):
        subfolders[:] = sorted(d for d in subfolders if not d.startswith((".git", "build")))
        if ".clang-tidy" in files:
            found.append(Path(folder) / ".clang-tidy")
    return found


# Tests of this script point it at a ledger of their own.
LEDGER = Path(os.environ.get("HELIDISK_TIDY_LEDGER") or ROOT / "tools" / "clang-tidy-ledger")


def read_ledger():
    """The ledger as path -> key; a missing ledger vouches for nothing."""
    if not LEDGER.exists():
        return {}
    lines = LEDGER.read_text(encoding="utf-8").splitlines()
    return {path: key for key, path in (line.split(maxsplit=1) for line in lines if line.strip())}


def write_ledger(ledger, checked_paths, clean_keys):
    """The TUs of this run that are clean now, plus the lines of other TUs that
    still exist (a narrower file pattern must not forget them); sorted by path
    so that a change shows as a small diff."""
    kept = {
        path: key
        for path, key in ledger.items()
        if path not in checked_paths and (ROOT / path).exists()
    }
    kept.update(clean_keys)
    lines = sorted(f"{key} {path}" for path, key in kept.items())
    text = "".join(line + "\n" for line in lines)
    if not LEDGER.exists() or LEDGER.read_text(encoding="utf-8") != text:
        LEDGER.write_text(text, encoding="utf-8")


def run(arguments, cwd=None):
    return subprocess.run(arguments, cwd=cwd, capture_output=True, text=True, errors="replace")


def command_arguments(entry):
    arguments = entry.get("arguments") or shlex.split(entry["command"])
    # A launcher such as ccache stands before the compiler.
    while arguments and os.path.basename(arguments[0]) in ("ccache", "sccache"):
        arguments = arguments[1:]
    return arguments


def translation_units(database):
    """The database's entries, each unit of a unity build replaced by one entry
    per source file it includes, with the unit's command and object file."""
    for entry in database:
        unit = entry["file"]
        if not UNITY_SOURCE.search(unit):
            yield entry
            continue
        for source in re.findall(r'^#include "([^"]+)"', Path(unit).read_text(), re.M):
            arguments = [source if a == unit else a for a in command_arguments(entry)]
            yield {"directory": entry["directory"], "file": source, "arguments": arguments}


def object_file(entry):
    arguments = command_arguments(entry)
    if "-o" not in arguments[:-1]:
        return None
    return os.path.normpath(os.path.join(entry["directory"], arguments[arguments.index("-o") + 1]))


def recorded_dependencies(build_dir):
    """Object file -> the files its compilation read, as ninja recorded them in
    the last build; empty for a build that is not ninja's."""
    if not (Path(build_dir) / ".ninja_deps").exists():
        return {}
    listing = run(["ninja", "-C", build_dir, "-t", "deps"]).stdout
    recorded = {}
    files = None
    for line in listing.splitlines():
        if line.startswith(" "):
            if files is not None:
                files.append(os.path.normpath(os.path.join(build_dir, line.strip())))
        elif line.strip():
            target, _, status = line.partition(": #deps")
            files = [] if status.endswith("(VALID)") else None
            if files is not None:
                recorded[os.path.normpath(os.path.join(build_dir, target))] = files
    return recorded


class FileDigests:
    """Modification times and digests of files, each read once per run."""

    def __init__(self):
        self.times = {}
        self.digests = {}

    def time(self, path):
        if path not in self.times:
            self.times[path] = os.stat(path).st_mtime_ns if os.path.exists(path) else None
        return self.times[path]

    def digest(self, path):
        if path not in self.digests:
            text = Path(path).read_bytes() if os.path.exists(path) else b""
            self.digests[path] = hashlib.sha256(relative_to_project(text)).digest()
        return self.digests[path]


def preprocessor_dependencies(entry):
    """The files clang's preprocessor reads for the TU, or None when it fails."""
    kept = [PREPROCESSOR]
    skip_next = False
    for argument in command_arguments(entry)[1:]:
        if skip_next:
            skip_next = False
            continue
        if argument in ("-o", "-MF", "-MT", "-MQ"):
            skip_next = True
            continue
        if argument in ("-c", "-MD", "-MMD"):
            continue
        kept.append(argument)
    kept += ["-M", "-MT", "tu", "-Wno-unknown-warning-option", "-Wno-unused-command-line-argument"]
    listed = run(kept, cwd=entry["directory"])
    if listed.returncode != 0:
        return None
    names = listed.stdout.replace("\\\n", " ").split(":", 1)[1].split()
    return [os.path.normpath(os.path.join(entry["directory"], name)) for name in names]


def dependencies(entry, recorded, files):
    """The files the TU reads: as the build recorded them while its object file
    is newer than all of them, else as clang's preprocessor lists them."""
    target = object_file(entry)
    listed = recorded.get(target)
    if listed and entry["file"] in listed:
        built = files.time(target)
        times = [files.time(path) for path in listed]
        if built is not None and None not in times and max(times) <= built:
            return listed
    return preprocessor_dependencies(entry)


def relative_to_project(text):
    if isinstance(text, bytes):
        return text.replace(str(ROOT).encode(), b"@PROJECT@")
    return text.replace(str(ROOT), "@PROJECT@")


def tu_key(entry, common, recorded, files):
    read = dependencies(entry, recorded, files)
    if read is None:
        return None  # checked every time; clang-tidy reports what is wrong
    digest = hashlib.sha256(common)
    digest.update(relative_to_project(" ".join(command_arguments(entry))).encode())
    digest.update(relative_to_project(entry["directory"]).encode())
    # In the order of the names as written into the key, which is the same
    # in every clone.
    for name, path in sorted({(relative_to_project(path), path) for path in read}):
        digest.update(name.encode())
        digest.update(files.digest(path))
    return digest.hexdigest()


def check(entry, database_dir, tidy_arguments, keys, cache, ledger_keys):
    key = tu_key(entry, *keys)
    if key is not None and (key in ledger_keys or (cache / key).exists()):
        return entry["file"], key, True, True, ""
    tidy = run(["clang-tidy", "-p", database_dir, "--quiet", *tidy_arguments, entry["file"]])
    # clang-tidy counts the warnings it suppressed in system headers on
    # standard error; they are not findings.
    output = "\n".join(
        line
        for line in (tidy.stdout + tidy.stderr).splitlines()
        if not re.fullmatch(r"\d+ warnings? (and \d+ errors? )?generated\.", line.strip())
    )
    clean = tidy.returncode == 0
    if clean and key is not None:
        cache.mkdir(parents=True, exist_ok=True)
        (cache / key).touch()
    return entry["file"], key if clean else None, clean, False, output


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    build_dir, file_regex, tidy_arguments = sys.argv[1], sys.argv[2], sys.argv[3:]
    build_dir = os.path.abspath(build_dir)
    with open(os.path.join(build_dir, "compile_commands.json"), encoding="utf-8") as database:
        units = list(translation_units(json.load(database)))
    # clang-tidy reads each file's command from a database that lists the
    # files one by one.
    database_dir = os.path.join(build_dir, "clang-tidy")
    os.makedirs(database_dir, exist_ok=True)
    with open(os.path.join(database_dir, "compile_commands.json"), "w", encoding="utf-8") as out:
        json.dump(units, out, indent=1)
    entries = [entry for entry in units if re.search(file_regex, entry["file"])]
    version = run(["clang-tidy", "--version"]).stdout
    config = b"".join(path.read_bytes() for path in tidy_configurations())
    common = (version + " ".join(tidy_arguments)).encode() + config
    keys = (common, recorded_dependencies(build_dir), FileDigests())
    cache = cache_dir()
    ledger = read_ledger()
    ledger_keys = set(ledger.values())

    failed = []
    cached = 0
    clean_keys = {}
    workers = os.cpu_count() or 1
    with concurrent.futures.ThreadPoolExecutor(max_workers=workers) as pool:
        futures = [
            pool.submit(check, entry, database_dir, tidy_arguments, keys, cache, ledger_keys)
            for entry in entries
        ]
        for future in concurrent.futures.as_completed(futures):
            name, key, clean, hit, output = future.result()
            cached += hit
            if key is not None:
                clean_keys[os.path.relpath(name, ROOT)] = key
            if not clean:
                failed.append(name)
                print(output, flush=True)
    write_ledger(ledger, {os.path.relpath(e["file"], ROOT) for e in entries}, clean_keys)
    print(
        f"clang-tidy: {len(entries)} translation units, {cached} unchanged since found clean,"
        f" {len(entries) - cached} checked, {len(failed)} with findings"
    )
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
