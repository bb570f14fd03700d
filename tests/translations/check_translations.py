# SPDX-License-Identifier: GPL-3.0-or-later
"""Every text the program shows is in each translation file, translated.

lupdate reads the program's sources (the folders given, not their subfolders) into a fresh .ts in
a temporary folder; each committed translation must hold exactly those messages, none of them
unfinished or empty, each keeping the source's placeholders (%1), its access letter (&) and the
file patterns of a file dialog's filter (after "|").

usage: check_translations.py LUPDATE SOURCE_FOLDER... -- TS_FILE...
"""

import glob
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET


def messages(path):
    """{(context, source, comment): (translations, unfinished)} of a .ts file: one translation,
    or one a plural form."""
    found = {}
    for context in ET.parse(path).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            translation = message.find("translation")
            kind = translation.get("type", "") if translation is not None else "unfinished"
            if kind in ("obsolete", "vanished"):
                kind = "stale"
            key = (name, message.findtext("source"), message.findtext("comment") or "")
            forms = [form.text or "" for form in translation.iter("numerusform")] \
                if translation is not None else []
            found[key] = (forms or [translation.text or "" if translation is not None else ""],
                          kind)
    return found


def problems_of(key, translation):
    context, source, _ = key
    where = f"{context}: {source!r}"
    if sorted(re.findall(r"%\d+", source)) != sorted(re.findall(r"%\d+", translation)):
        yield f"{where}: the placeholders differ in {translation!r}"
    if re.search(r"&[^&\s]", source) and not re.search(r"&[^&\s]", translation):
        yield f"{where}: no access letter in {translation!r}"
    if "|" in source and source.rsplit("|", 1)[1].startswith("*"):
        if source.rsplit("|", 1)[1] != translation.rsplit("|", 1)[-1]:
            yield f"{where}: the file patterns differ in {translation!r}"


def main(argv):
    split = argv.index("--")
    lupdate, folders, committed = argv[1], argv[2:split], argv[split + 1:]
    sources = sorted(f for folder in folders for pattern in ("*.cpp", "*.h")
                     for f in glob.glob(os.path.join(folder, pattern)))
    if not committed:
        print("no translation files")
        return 1
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        fresh = os.path.join(tmp, "fresh.ts")
        run = subprocess.run([lupdate, "-silent", "-locations", "none", *sources, "-ts", fresh],
                             capture_output=True, text=True)
        if run.returncode != 0 or not os.path.exists(fresh):
            print(run.stdout, run.stderr)
            return 1
        wanted = set(messages(fresh))
    if len(wanted) < 100:
        failures.append(f"lupdate found only {len(wanted)} texts in {len(sources)} files")
    for path in committed:
        have = messages(path)
        name = os.path.basename(path)
        for key in sorted(wanted - set(have)):
            failures.append(f"{name}: not in the file: {key[0]}: {key[1]!r}")
        for key in sorted(set(have) - wanted):
            failures.append(f"{name}: no longer in the sources: {key[0]}: {key[1]!r}")
        for key in sorted(wanted & set(have)):
            translations, kind = have[key]
            if kind or not all(translations):
                failures.append(f"{name}: not translated: {key[0]}: {key[1]!r}")
            else:
                failures.extend(f"{name}: {p}" for translation in translations
                                for p in problems_of(key, translation))
    for failure in failures:
        print(failure)
    if failures:
        print(f"\n{len(failures)} problems. Run `cmake --build <build> --target update_translations`"
              " and translate what is new (translations/*.ts).")
        return 1
    print(f"{len(committed)} translation files hold all {len(wanted)} texts, translated")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
