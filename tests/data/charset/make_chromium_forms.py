#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes chromium-forms.json: the bytes Debian's chromium sends for form fields in the
encodings of the web's encoding standard. A server on 127.0.0.1 hands headless chromium (driven
over its DevTools pipe) one page per submission: a GET form with accept-charset=LABEL and a
hidden field per text, which the page submits; the server keeps the query, %XX and "+" undone.
"forms": every encoding by its name (a label where the name is none) over TEXTS, each
encoder's special cases; "labels": every label of core/charset/encodings.txt over FINGERPRINT,
which tells the encodings apart; "terms": the terms of tests/data/address, for addresses.json.

    python3 tests/data/charset/make_chromium_forms.py   (as root on Debian 12; chromium 156)
"""
import html
import http.server
import json
import os
import queue
import shutil
import subprocess
import sys
import tempfile
import threading
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [os.path.join(HERE, "..", "browsers"), os.path.join(HERE, "..", "address")]
from devtools_pipe import DevToolsPipe  # noqa: E402
from make_addresses import TERMS  # noqa: E402

TEXTS = [
    "A~\\*+&= ", "\x0e", "\x0f", "\x1b", "\x7f", "\x80", "\x81", "\xa0",  # ASCII, controls
    "¥", "‾", "¢", "£", "¦", "¬", "©", "µ", "×", "é", "ÿ", "Œ", "ł", "Š", "ƒ",  # Latin
    "−", "－", "～", "〜", "―", "—", "‖", "∥", "‰", "€", "₫", "№", "™",  # dashes, waves, signs
    "Ω", "Ж", "ё", "Ґ", "א", "ع", "ก",  # one letter of each single-byte family
    "日", "あ", "ア", "ｱ", "｡", "ﾟ", "丂", "\ue000",  # kana, JIS X 0212 only, Shift_JIS EUDC
    "①", "Ⅰ", "≒", "∵", "㈱",  # NEC row 13 (some also in row 2 or the IBM rows)
    "ⅰ", "￢", "￤", "＇", "纊", "髙", "﨑",  # NEC-selected IBM rows and IBM rows
    "中", "ḿ", "\ue5e5", "\ue7c7", "\ue78d", "\ue81e", "︐", "龴", "㐀", "𠀀",  # GBK, gb18030
    "═", "╞", "十", "卅", "〃", "卄", "\u43f0", "𠃌",  # Big5: last pointers, HKSCS, astral
    "가", "갂", "똠", "ㄱ",  # EUC-KR, its extension
    "\uf780", "\uf7ff",  # x-user-defined
    "☃", "ẞ", "\ufffd", "😀", "𝄞", "e\u0301",  # outside every set
    "日本語 abc", "¥‾a~\\¥", "日é\x1bｱ¥日A",  # ISO-2022-JP's states
]
FINGERPRINT = "€¥‾−～①ⅰ纊éŒЖёҐΩאعกŠ₫ł中丂갂ｱ═\uf780😀"
TERM_SETS = ["shift_jis", "windows-1251", "koi8-r"]

PAGE = """<!doctype html><meta charset="utf-8">
<form method="get" action="/sent" accept-charset="%s"></form>
<script>
const form = document.forms[0];
%s.forEach((t, i) => form.append(Object.assign(document.createElement("input"),
                                               {type: "hidden", name: "c" + i, value: t})));
form.submit();
</script>"""


class Handler(http.server.BaseHTTPRequestHandler):
    def handle_one_request(self):
        # The longest term's query is longer than the 64 KiB request line http.server reads.
        self.raw_requestline = self.rfile.readline()
        self.close_connection = not self.raw_requestline
        if self.raw_requestline and self.parse_request():
            self.do_GET()
            self.wfile.flush()

    def do_GET(self):
        path, _, query = self.path.partition("?")
        if path == "/form":
            label, texts = self.server.jobs[int(query)]
            # "</" in a text would end the script early.
            body = PAGE % (html.escape(label), json.dumps(texts).replace("</", "<\\/"))
        elif path == "/sent":
            self.server.sent.put(query)
            body = "sent"
        else:
            self.send_error(404)
            return
        data = body.encode("utf-8")
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def log_message(self, *args):
        pass


def field_bytes(query, count):
    fields = [pair.split("=", 1) for pair in query.split("&")] if query else []
    assert [name for name, _ in fields] == ["c%d" % i for i in range(count)], query[:200]
    return [urllib.parse.unquote_to_bytes(value.replace("+", " ")).hex().upper()
            for _, value in fields]


def encodings():
    path = os.path.join(HERE, "..", "..", "..", "core", "charset", "encodings.txt")
    with open(path, encoding="utf-8") as lines:
        rows = [line.rstrip("\n").split("\t") for line in lines if not line.startswith("#")]
    return [(name, labels.split()) for name, labels in rows]


def submit_all(jobs):
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.jobs, server.sent = jobs, queue.Queue()
    threading.Thread(target=server.serve_forever, daemon=True).start()
    browser = DevToolsPipe(["chromium", "--headless", "--no-sandbox", "--no-first-run",
                            "--disable-sync", "--disable-gpu", "--disable-background-networking",
                            "--user-data-dir=" + tempfile.mkdtemp()])
    base = "http://127.0.0.1:%d/form?" % server.server_address[1]
    results = []
    try:
        _, session = browser.open_page(base + "0")
        for n, (_, texts) in enumerate(jobs):
            if n:
                browser.send("Page.navigate", {"url": base + str(n)}, session)
                browser.events.clear()
            results.append(field_bytes(server.sent.get(timeout=30), len(texts)))
    finally:
        browser.close()
        server.shutdown()
    return results


def main():
    if not shutil.which("chromium"):
        subprocess.run(["apt-get", "install", "-y", "-q", "chromium"], check=True,
                       env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))
    sets = encodings()
    jobs = [(name if name.lower() in labels else labels[0], TEXTS) for name, labels in sets
            if name != "UTF-8"]
    jobs += [(label, [FINGERPRINT]) for _, labels in sets for label in labels]
    jobs += [(name, TERMS) for name in TERM_SETS]
    results = iter(submit_all(jobs))
    version = subprocess.run(["chromium", "--version"], capture_output=True, text=True).stdout
    data = {"chromium": version.split(" built")[0].strip(), "texts": TEXTS,
            "fingerprint": FINGERPRINT,
            "forms": {label: next(results) for label, texts in jobs if texts is TEXTS},
            "labels": {label: next(results)[0] for _, names in sets for label in names},
            "terms": {name: next(results) for name in TERM_SETS}}
    with open(os.path.join(HERE, "chromium-forms.json"), "w", encoding="utf-8") as file:
        json.dump(data, file, ensure_ascii=False, indent=1)
        file.write("\n")


if __name__ == "__main__":
    main()
