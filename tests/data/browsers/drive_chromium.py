# SPDX-License-Identifier: GPL-3.0-or-later
"""Gives a fresh Chromium profile the site searches of the fixtures, the way a user does, and
lets Chromium write and close its "Web Data".

    python3 drive_chromium.py CHROMIUM USER_DATA_FOLDER

Two ways in, both Chromium's own code paths:
- Settings > Search engine > Manage search engines and site search > Add: the real dialog,
  filled in and saved through the DevTools protocol (the message handler behind it ignores
  calls that do not come from the open dialog, so the dialog is driven as a user drives it);
- a page on a loopback server that links an OpenSearch description, which Chromium fetches and
  keeps as an (inactive) site search with the description's InputEncoding: the one way an engine
  with a legacy charset gets into Chromium.
The engine addresses point at 127.0.0.1:8080, where nothing runs: they are never fetched."""

import http.server
import sys
import threading
import time

from devtools_pipe import DevToolsPipe

OPENSEARCH_CP1251 = b"""<?xml version="1.0" encoding="UTF-8"?>
<OpenSearchDescription xmlns="http://a9.com/-/spec/opensearch/1.1/">
  <ShortName>Loopback Cyrillic Site</ShortName>
  <InputEncoding>windows-1251</InputEncoding>
  <Url type="text/html" template="http://127.0.0.1:8080/ru?text={searchTerms}&amp;ie={inputEncoding}"/>
</OpenSearchDescription>
"""

PAGE = b"""<!doctype html><html><head><title>Loopback site</title>
<link rel="search" type="application/opensearchdescription+xml" title="Loopback"
      href="/opensearch.xml">
</head><body>A site that offers its search.</body></html>
"""

# What a user types into the Add dialog: name, shortcut, address with %s for the term.
SITE_SEARCHES = [
    ("Loopback Chromium", "lc", "http://127.0.0.1:8080/c?q=%s&src=chromium"),
    ("Loopback Path", "lp", "http://127.0.0.1:8080/p/%s/view"),
    ("Loopback Google Style", "lg", "http://127.0.0.1:8080/search?{google:sourceId}q=%s&ie={inputEncoding}"),
]

# Each run is a block of its own, so running it again declares nothing twice.
DEEP = """
function deepAll(root, selector, out = []) {
  out.push(...root.querySelectorAll(selector));
  for (const e of root.querySelectorAll('*'))
    if (e.shadowRoot)
      deepAll(e.shadowRoot, selector, out);
  return out;
}
const sleep = ms => new Promise(r => setTimeout(r, ms));
"""

ADD = "{" + DEEP + """(async () => {
  deepAll(document, '#addSearchEngine')[0].click();
  await sleep(1000);
  const root = deepAll(document, 'settings-search-engine-edit-dialog')[0].shadowRoot;
  const fill = async (id, value) => {
    const input = root.querySelector('#' + id);
    input.value = value;
    input.dispatchEvent(new Event('input', {bubbles: true, composed: true}));
    await sleep(400);
  };
  await fill('searchEngine', %(name)s);
  await fill('keyword', %(keyword)s);
  await fill('queryUrl', %(url)s);
  await sleep(800);
  const save = root.querySelector('#actionButton');
  if (save.disabled)
    return 'refused';
  save.click();
  await sleep(1000);
  return 'saved';
})()}"""


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        if self.path == "/opensearch.xml":
            body, kind = OPENSEARCH_CP1251, "application/opensearchdescription+xml"
        elif self.path == "/":
            body, kind = PAGE, "text/html"
        else:
            self.send_error(404)
            return
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def main():
    import json
    chromium, user_data = sys.argv[1], sys.argv[2]
    # The page's host becomes the engine's keyword; 127.0.0.2 keeps it apart from the others.
    server = http.server.ThreadingHTTPServer(("127.0.0.2", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    browser = DevToolsPipe([chromium, "--headless", "--no-sandbox", "--no-first-run",
                            "--disable-sync", "--disable-gpu", "--disable-background-networking",
                            "--user-data-dir=" + user_data])
    try:
        _, page = browser.open_page("http://127.0.0.2:%d/" % server.server_address[1])
        time.sleep(4)  # the description is fetched after the page has loaded
        _, settings = browser.open_page("chrome://settings/searchEngines")
        time.sleep(5)
        for name, keyword, url in SITE_SEARCHES:
            result = browser.evaluate(settings, ADD % {
                "name": json.dumps(name), "keyword": json.dumps(keyword), "url": json.dumps(url)})
            print("Chromium: %s %s" % (name, result))
    finally:
        browser.close()
        server.shutdown()


if __name__ == "__main__":
    main()
