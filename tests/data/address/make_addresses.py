#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes addresses.json: search terms and the addresses each service template must give.

The expected addresses are computed here, independently of the program, with Python's own
percent-encoding (urllib.parse.quote / quote_plus, nothing kept but A-Z a-z 0-9 - . _ ~) over
the term's bytes in UTF-8 or, for a legacy character set, the bytes Debian's chromium sent for
the term in a form in that set (../charset/chromium-forms.json, whose "terms" it recorded for
the TERMS here): a character the set cannot hold is "&#N;" there.

Run it from anywhere: python3 tests/data/address/make_addresses.py
"""
import json
import os
from urllib.parse import quote, quote_plus


def utf8_plus(term):
    return quote_plus(term.encode("utf-8"), safe="")


def utf8_percent20(term):
    return quote(term.encode("utf-8"), safe="")


def charset_plus(charset):
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "charset",
                        "chromium-forms.json")
    with open(path, encoding="utf-8") as file:
        sent = json.load(file)["terms"][charset]
    return lambda term: quote_plus(bytes.fromhex(sent[TERMS.index(term)]), safe="")


# name -> (service string, expected address for a term)
SERVICES = {
    "query": ("http://h.test/s?q=|s|&x=1", lambda t: f"http://h.test/s?q={utf8_plus(t)}&x=1"),
    "path": ("http://h.test/w/|s|/x?y=1", lambda t: f"http://h.test/w/{utf8_percent20(t)}/x?y=1"),
    "raw": ("http://h.test/s?q=|s:raw|", lambda t: f"http://h.test/s?q={t}"),
    "windows-1251": ("http://h.test/s?q=|s:windows-1251|",
                     lambda t: "http://h.test/s?q=" + charset_plus("windows-1251")(t)),
    "shift_jis": ("http://h.test/s?q=|s:shift_jis|",
                  lambda t: "http://h.test/s?q=" + charset_plus("shift_jis")(t)),
    "%20": ("http://h.test/s?q=|s:%20|", lambda t: f"http://h.test/s?q={utf8_percent20(t)}"),
    "koi8-r,+ in the path": ("http://h.test/|s:koi8-r,+|#top",
                             lambda t: "http://h.test/" + charset_plus("koi8-r")(t) + "#top"),
}

LONG = ("Привет & 日本 + C# 50% 😀 " * 200)[:2000]

TERMS = [
    "",
    "red car",
    "  blanks around  ",
    "   ",
    "C++ & more #1 50%",
    "Tom & Jerry",
    "a+b",
    "key=value&other=1",
    "a=b;c=d",
    "what? why?",
    "path/to/file",
    "100%",
    "%20 and %2B already encoded",
    "#hashtag",
    "tab\there",
    "\"quoted\"",
    "it's",
    "“curly” ‘quotes’ «guillemets»",
    "<script>alert(1)</script>",
    "x $(touch /tmp/PWNED)",
    "back\\slash ~tilde",
    "!$'()*,:@[]{}^`|",
    "unreserved-._~AZaz09",
    "a|s|b",
    "|s:raw|",
    "café",
    "Ångström naïve façade",
    "Straße",
    "español ñ ¿qué?",
    "non\u00a0breaking",
    "€ 5",
    "¥ and ‾",
    "Ωμέγα αλφα",
    "Привет мир",
    "ёлка Ёж",
    "日本語",
    "東京 タワー",
    "〜 wave ～",
    "中文搜索",
    "한국어",
    "עברית",
    "العربية",
    "😀",
    "👍🏽 family 👨‍👩‍👧",
    "control\u007fchar",
    "İstanbul ı",
    LONG,
]


def main():
    rows = []
    for term in TERMS:
        row = {"term": term}
        for name, (_, expected) in SERVICES.items():
            row[name] = expected(term)
        rows.append(row)
    data = {
        "services": {name: service for name, (service, _) in SERVICES.items()},
        "rows": rows,
    }
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "addresses.json")
    with open(path, "w", encoding="utf-8") as out:
        json.dump(data, out, ensure_ascii=False, indent=1)
        out.write("\n")


if __name__ == "__main__":
    main()
