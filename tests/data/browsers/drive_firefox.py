# SPDX-License-Identifier: GPL-3.0-or-later
"""Gives a fresh Firefox profile the search engines and keyword bookmarks of the fixtures,
through the browser's own code (run over Marionette), and lets Firefox write and close its files.

    python3 drive_firefox.py FIREFOX PROFILE_FOLDER

The engine addresses are loopback addresses: nothing is ever fetched from them."""

import http.server
import os
import subprocess
import sys
import threading
import time

from marionette import Marionette

# A site's own OpenSearch description, as a page links it; Firefox fetches it from a server of
# ours on 127.0.0.1 and stores the engine it describes. A legacy charset and the term in the
# path.
OPENSEARCH_SHIFT_JIS = b"""<?xml version="1.0" encoding="UTF-8"?>
<OpenSearchDescription xmlns="http://a9.com/-/spec/opensearch/1.1/">
  <ShortName>Loopback Wiki JP</ShortName>
  <Description>A site's search in Shift_JIS</Description>
  <InputEncoding>Shift_JIS</InputEncoding>
  <Url type="text/html" method="get" template="http://127.0.0.1:8080/wiki/{searchTerms}?lang={language?}&amp;n={count}"/>
  <Url type="application/x-suggestions+json" template="http://127.0.0.1:8080/suggest?q={searchTerms}"/>
</OpenSearchDescription>
"""

# The same kind of engine as a site of the Firefox 2 era writes it: the term in a Param.
OPENSEARCH_PARAMS = b"""<?xml version="1.0" encoding="UTF-8"?>
<OpenSearchDescription xmlns="http://a9.com/-/spec/opensearch/1.1/">
  <ShortName>Loopback Params</ShortName>
  <Url type="text/html" method="GET" template="http://127.0.0.1:8080/find">
    <Param name="q" value="{searchTerms}"/>
    <Param name="src" value="os"/>
  </Url>
</OpenSearchDescription>
"""

SCRIPT = r"""
const { PlacesUtils } = ChromeUtils.importESModule("resource://gre/modules/PlacesUtils.sys.mjs");
const { SearchService } = ChromeUtils.importESModule(
  "moz-src:///toolkit/components/search/SearchService.sys.mjs");
await SearchService.init();
const base = "http://127.0.0.1:%(port)d/";

// Engines as the user adds them in Settings > Search > Add.
await SearchService.addUserEngine({
  name: "Loopback Search", url: "http://127.0.0.1:8080/search?q={searchTerms}&lang=en",
  alias: "lb" });
await SearchService.addUserEngine({
  name: "Loopback Cyrillic", url: "http://127.0.0.1:8080/cp1251?text={searchTerms}",
  charset: "windows-1251", alias: "cy" });
await SearchService.addUserEngine({
  name: "Loopback Post", url: "http://127.0.0.1:8080/post", method: "POST",
  params: [["q", "{searchTerms}"], ["x", "1"]] });

// Engines offered by sites ("Add search engine" on a page that links its description).
await SearchService.addOpenSearchEngine(base + "wiki-jp.xml", null);
await SearchService.addOpenSearchEngine(base + "params.xml", null);

// Keyword bookmarks: %%s is the term encoded, %%S the term as typed.
const bookmarks = [
  { title: "Loopback Bookmark", url: "http://127.0.0.1:8080/bm?q=%%s&kind=all", keyword: "bm" },
  { title: "Loopback Raw", url: "http://127.0.0.1:8080/raw/%%S", keyword: "raw" },
  { title: "Loopback KOI8", url: "http://127.0.0.1:8080/koi?q=%%s", keyword: "koi" },
  { title: "Loopback Form Post", url: "http://127.0.0.1:8080/form", keyword: "fp",
    postData: "q=%%s&go=1" },
  { title: "Bookmarklet", url: "javascript:alert('%%s')", keyword: "js" },
];
for (const b of bookmarks) {
  await PlacesUtils.bookmarks.insert({
    parentGuid: PlacesUtils.bookmarks.toolbarGuid, title: b.title, url: b.url });
  const entry = { keyword: b.keyword, url: b.url };
  if (b.postData)
    entry.postData = b.postData;
  await PlacesUtils.keywords.insert(entry);
}
// The charset Firefox remembers for a bookmark's page (Properties of the bookmark).
await PlacesUtils.history.update({
  url: "http://127.0.0.1:8080/koi?q=%%s",
  annotations: new Map([[PlacesUtils.CHARSET_ANNO, "KOI8-R"]]) });

const engines = await SearchService.getEngines();
return engines.map(e => e.name);
"""


class Handler(http.server.BaseHTTPRequestHandler):
    files = {"/wiki-jp.xml": OPENSEARCH_SHIFT_JIS, "/params.xml": OPENSEARCH_PARAMS}

    def do_GET(self):
        body = self.files.get(self.path)
        if body is None:
            self.send_error(404)
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/opensearchdescription+xml")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def wait_for(path, timeout=60):
    deadline = time.time() + timeout
    while not os.path.exists(path):
        if time.time() > deadline:
            raise RuntimeError("Firefox did not write " + path)
        time.sleep(0.2)


def main():
    firefox, profile = sys.argv[1], sys.argv[2]
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()

    # Marionette on a free port, which Firefox writes into the profile; no network of its own.
    with open(os.path.join(profile, "user.js"), "w") as prefs:
        prefs.write('user_pref("marionette.port", 0);\n'
                    'user_pref("browser.shell.checkDefaultBrowser", false);\n'
                    'user_pref("datareporting.policy.dataSubmissionEnabled", false);\n'
                    'user_pref("toolkit.telemetry.reportingpolicy.firstRun", false);\n'
                    'user_pref("app.update.enabled", false);\n'
                    # No preallocated growth: places.sqlite keeps the size of its content.
                    'user_pref("places.database.growthIncrementKiB", 0);\n')
    port_file = os.path.join(profile, "MarionetteActivePort")
    if os.path.exists(port_file):
        os.remove(port_file)
    browser = subprocess.Popen([firefox, "--headless", "--marionette",
                                "--remote-allow-system-access", "--profile", profile,
                                "about:blank"])
    try:
        wait_for(port_file)
        time.sleep(0.5)
        with open(port_file) as f:
            port = int(f.read().strip())
        client = Marionette(port)
        client.start_chrome_session()
        names = client.run_async(SCRIPT % {"port": server.server_address[1]})
        print("Firefox engines:", ", ".join(names))
        client.quit()
        browser.wait(timeout=60)
    finally:
        if browser.poll() is None:
            browser.kill()
        server.shutdown()
    os.remove(os.path.join(profile, "user.js"))


if __name__ == "__main__":
    main()
