# SPDX-License-Identifier: GPL-3.0-or-later
"""Gives a fresh Firefox profile the search engines and keyword bookmarks of the fixtures and
lets Firefox write and close its files.

    python3 drive_firefox.py FIREFOX PROFILE_FOLDER      (on an X display: Xvfb will do)

The engines a user adds come in the way a user adds them, through Firefox's own dialogs, clicked
and typed into with real X input (xdotool); Marionette only says where the controls are:
- Settings > Search > "Add search engine": the dialog takes a name, an address with %s for the
  term, a keyword and (under Advanced) POST data, and stores {searchTerms} in place of the first
  %s (firefox-esr 140 and 153 alike). It has no field for a character set.
- A right click into a site's search field > "Add Search Engine": the same dialog asks only for
  a name and a keyword; Firefox takes the form's address and fields, and the page's character
  set as the engine's queryCharset. This is how a user gets an engine with a legacy charset.
Engines offered by sites' OpenSearch descriptions and the keyword bookmarks go in through the
calls the browser's own offers and bookmark dialog make (the loader fetches and parses the
description from a server of ours). Engine addresses are loopback ones, never fetched."""

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

# A Russian site in windows-1251 whose search form sends to 127.0.0.1:8080.
CYRILLIC_PAGE = """<!doctype html><html><head><meta charset="windows-1251">
<title>Поиск</title></head><body>
<form action="http://127.0.0.1:8080/cp1251" method="get">
<input type="search" name="text" id="q" style="width:400px;height:40px">
</form></body></html>""".encode("windows-1251")

# What a user types into Settings > Search > Add: name, address, keyword, POST data.
DIALOG_ENGINES = [
    ("Loopback Search", "http://127.0.0.1:8080/search?q=%s&lang=en", "lb", ""),
    ("Loopback Post", "http://127.0.0.1:8080/post", "", "q=%s&x=1"),
]

PRELUDE = r"""
const sleep = ms => new Promise(r => setTimeout(r, ms));
async function until(what, label) {
  for (let i = 0; i < 300; ++i) {
    const value = what();
    if (value)
      return value;
    await sleep(100);
  }
  throw new Error("timed out waiting for " + label);
}
// The centre of an element on the screen, in device pixels, for xdotool.
function centre(element) {
  element.scrollIntoView({ block: "center" });
  const r = element.getBoundingClientRect();
  const w = element.ownerDocument.defaultView;
  const scale = w.devicePixelRatio;
  return [Math.round((w.mozInnerScreenX + r.left + r.width / 2) * scale),
          Math.round((w.mozInnerScreenY + r.top + r.height / 2) * scale)];
}
function deep(root, selector) {
  const found = root.querySelector(selector);
  if (found)
    return found;
  for (const e of root.querySelectorAll("*")) {
    const inner = e.shadowRoot && deep(e.shadowRoot, selector);
    if (inner)
      return inner;
  }
  return null;
}
// The document of the open add-engine dialog, in about:preferences or in the browser window.
function dialogDocument(doc) {
  if (!doc)
    return null;
  for (const frame of doc.querySelectorAll("browser, iframe")) {
    const inner = frame.contentDocument;
    if (inner && inner.documentURI.startsWith("chrome://browser/content/search/addEngine"))
      return inner.readyState == "complete" ? inner : null;
  }
  return null;
}
const prefs = () => gBrowser.selectedBrowser.contentDocument;
const { SearchService } = ChromeUtils.importESModule(
  "moz-src:///toolkit/components/search/SearchService.sys.mjs");
"""

OPEN_PREFERENCES = PRELUDE + r"""
openPreferences("paneSearch");
const button = await until(() => prefs() && prefs().readyState == "complete"
                                  && deep(prefs(), "#addEngineButton"), "the Add button");
await sleep(500);
return centre(button);
"""

DIALOG_FIELDS = PRELUDE + r"""
const where = arguments[0] == "form" ? document : prefs();
const doc = await until(() => dialogDocument(where), "the dialog");
await doc.mozSubdialogReady;
await sleep(300);
const out = {};
for (const id of ["engineName", "engineUrl", "engineAlias", "enginePostData"]) {
  const e = doc.getElementById(id);
  if (e && e.getClientRects().length)
    out[id] = centre(e);
}
const advanced = doc.querySelector("dialog").getButton("extra1");
if (!advanced.hidden)
  out.advanced = centre(advanced);
const accept = doc.querySelector("dialog").getButton("accept");
out.accept = centre(accept);
out.acceptEnabled = !accept.disabled;
return out;
"""

ENGINE_ADDED = PRELUDE + r"""
const name = arguments[0];
await until(() => SearchService.getEngineByName(name), "the engine " + name);
await until(() => !dialogDocument(prefs()) && !dialogDocument(document), "the dialog to close");
return true;
"""

CONTEXT_MENU_ITEM = PRELUDE + r"""
const menu = document.getElementById("contentAreaContextMenu");
await until(() => menu.state == "open", "the context menu");
const item = document.getElementById("context-add-engine");
await until(() => !item.hidden && item.getBoundingClientRect().width, "Add Search Engine");
await sleep(300);
return item.accessKey;
"""

SITE_ENGINES_AND_BOOKMARKS = PRELUDE + r"""
const { PlacesUtils } = ChromeUtils.importESModule("resource://gre/modules/PlacesUtils.sys.mjs");
const base = "http://127.0.0.1:" + arguments[0] + "/";

// Engines offered by sites ("Add search engine" on a page that links its description).
await SearchService.addOpenSearchEngine(base + "wiki-jp.xml", null);
await SearchService.addOpenSearchEngine(base + "params.xml", null);

// Keyword bookmarks: %s is the term encoded, %S the term as typed.
const bookmarks = [
  { title: "Loopback Bookmark", url: "http://127.0.0.1:8080/bm?q=%s&kind=all", keyword: "bm" },
  { title: "Loopback Raw", url: "http://127.0.0.1:8080/raw/%S", keyword: "raw" },
  { title: "Loopback KOI8", url: "http://127.0.0.1:8080/koi?q=%s", keyword: "koi" },
  { title: "Loopback Form Post", url: "http://127.0.0.1:8080/form", keyword: "fp",
    postData: "q=%s&go=1" },
  { title: "Bookmarklet", url: "javascript:alert('%s')", keyword: "js" },
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
  url: "http://127.0.0.1:8080/koi?q=%s",
  annotations: new Map([[PlacesUtils.CHARSET_ANNO, "KOI8-R"]]) });

const engines = await SearchService.getEngines();
return engines.map(e => e.name);
"""


class Handler(http.server.BaseHTTPRequestHandler):
    files = {"/wiki-jp.xml": ("application/opensearchdescription+xml", OPENSEARCH_SHIFT_JIS),
             "/params.xml": ("application/opensearchdescription+xml", OPENSEARCH_PARAMS),
             "/cyrillic.html": ("text/html; charset=windows-1251", CYRILLIC_PAGE)}

    def do_GET(self):
        kind, body = self.files.get(self.path, (None, None))
        if body is None:
            self.send_error(404)
            return
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)
    time.sleep(0.3)


def click(point, button=1):
    xdotool("mousemove", point[0], point[1], "click", button)


def type_into(point, text):
    """Clicks into a field, selects what it holds and types over it, as a user does."""
    click(point)
    xdotool("key", "ctrl+a")
    xdotool("type", "--delay", "40", text)


def fill_dialog(client, where, name, url="", alias="", post=""):
    fields = client.run_async(DIALOG_FIELDS, [where])
    type_into(fields["engineName"], name)
    if url:
        type_into(fields["engineUrl"], url)
    if alias:
        type_into(fields["engineAlias"], alias)
    if post:
        click(fields["advanced"])
        fields = client.run_async(DIALOG_FIELDS, [where])
        type_into(fields["enginePostData"], post)
    fields = client.run_async(DIALOG_FIELDS, [where])
    if not fields["acceptEnabled"]:
        raise RuntimeError("the dialog does not take %s: %r" % (name, fields))
    click(fields["accept"])
    client.run_async(ENGINE_ADDED, [name])


def add_through_preferences(client):
    for name, url, alias, post in DIALOG_ENGINES:
        click(client.run_async(OPEN_PREFERENCES))
        fill_dialog(client, "preferences", name, url, alias, post)


def add_from_search_field(client, port):
    """Right click into the page's search field > Add Search Engine > name and keyword."""
    client.command("Marionette:SetContext", {"value": "content"})
    client.command("WebDriver:Navigate", {"url": "http://127.0.0.1:%d/cyrillic.html" % port})
    field = client.command("WebDriver:ExecuteScript", {"script": """
        const r = document.getElementById("q").getBoundingClientRect();
        const s = window.devicePixelRatio;
        return [Math.round((mozInnerScreenX + r.left + 20) * s),
                Math.round((mozInnerScreenY + r.top + r.height / 2) * s)];""", "args": []})
    client.command("Marionette:SetContext", {"value": "chrome"})
    click(field["value"], 3)
    # The menu's own access key: clicks do not reach a menu of Firefox's without a window
    # manager.
    xdotool("key", client.run_async(CONTEXT_MENU_ITEM).lower())
    fill_dialog(client, "form", "Loopback Cyrillic", alias="cy")


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
    port = server.server_address[1]

    # Marionette on a free port, which Firefox writes into the profile; no network of its own.
    with open(os.path.join(profile, "user.js"), "w") as prefs:
        prefs.write('user_pref("marionette.port", 0);\n'
                    'user_pref("browser.shell.checkDefaultBrowser", false);\n'
                    'user_pref("browser.aboutwelcome.enabled", false);\n'
                    'user_pref("browser.startup.homepage_override.mstone", "ignore");\n'
                    'user_pref("datareporting.policy.dataSubmissionEnabled", false);\n'
                    'user_pref("toolkit.telemetry.reportingpolicy.firstRun", false);\n'
                    'user_pref("app.update.enabled", false);\n'
                    # No preallocated growth: places.sqlite keeps the size of its content.
                    'user_pref("places.database.growthIncrementKiB", 0);\n')
    port_file = os.path.join(profile, "MarionetteActivePort")
    if os.path.exists(port_file):
        os.remove(port_file)
    browser = subprocess.Popen([firefox, "--marionette", "--remote-allow-system-access",
                                "--profile", profile, "--width", "1200", "--height", "900",
                                "about:blank"])
    try:
        wait_for(port_file)
        time.sleep(0.5)
        with open(port_file) as f:
            client = Marionette(int(f.read().strip()))
        client.start_chrome_session()
        time.sleep(2)
        add_from_search_field(client, port)
        add_through_preferences(client)
        names = client.run_async(SITE_ENGINES_AND_BOOKMARKS, [port])
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
