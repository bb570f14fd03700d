# SPDX-License-Identifier: GPL-3.0-or-later
"""A small WARC reader of the tests' own, sharing nothing with the program's writer: a .warc.gz
read gzip member by gzip member, each member one record, its block digest recomputed."""

import hashlib
import zlib


def read_warc_gz(path):
    """The records as (headers, block) pairs; AssertionError where the file breaks the format."""
    with open(path, "rb") as f:
        data = f.read()
    records = []
    while data:
        member = zlib.decompressobj(wbits=31)  # one gzip member
        raw = member.decompress(data)
        assert member.eof, "a gzip member ends early"
        data = member.unused_data
        head, _, rest = raw.partition(b"\r\n\r\n")
        lines = head.split(b"\r\n")
        assert lines[0] == b"WARC/1.1", lines[0]
        headers = {}
        for line in lines[1:]:
            name, value = line.decode("utf-8").split(": ", 1)
            assert name not in headers, f"{name} twice"
            headers[name] = value
        length = int(headers["Content-Length"])
        block = rest[:length]
        assert len(block) == length and rest[length:] == b"\r\n\r\n", "not one record a member"
        algorithm, digest = headers["WARC-Block-Digest"].split(":", 1)
        assert algorithm == "sha256" and hashlib.sha256(block).hexdigest() == digest, headers
        records.append((headers, block))
    return records
