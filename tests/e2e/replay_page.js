// SPDX-License-Identifier: GPL-3.0-or-later
// Opens a web archive in ReplayWeb.page (the player's own ui.js and sw.js, served by the test)
// in Debian's chromium, headless, and tells what the replayed page shows: its type, heading,
// the heading's colour as its style sheet set it, the picture's size as decoded, the page's
// width. A screenshot goes to the path given. Usage: node replay_page.js EMBED_URL PAGE_URL PNG
"use strict";
const path = require("path");
const { chromium } = require(path.join(__dirname, "player", "node_modules", "playwright-core"));

async function main() {
    const [embedUrl, pageUrl, screenshot] = process.argv.slice(2);
    // As root, chromium runs without its sandbox; the rest keeps it off this machine's closed
    // network (background requests refused by the dozen otherwise).
    const browser = await chromium.launch({
        executablePath: "/usr/bin/chromium",
        args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
               "--disable-background-networking", "--disable-component-update", "--disable-sync"],
    });
    try {
        const page = await browser.newPage({ viewport: { width: 1200, height: 900 } });
        let result = null;
        // The player's service worker may miss the first load of a fresh profile: as a user
        // would, the page is opened again when nothing came.
        for (let attempt = 0; attempt < 3 && !result; ++attempt)
            result = await replayed(page, embedUrl, pageUrl);
        await page.screenshot({ path: screenshot });
        process.stdout.write(JSON.stringify(result) + "\n");
    } finally {
        await browser.close();
    }
}

async function replayed(page, embedUrl, pageUrl) {
        await page.goto(embedUrl);
        const deadline = Date.now() + 40000;
        let result = null;
        while (!result && Date.now() < deadline) {
            for (const frame of page.frames()) {
                if (!frame.url().includes("mp_/" + pageUrl))
                    continue;
                try {
                    result = await frame.evaluate(() => {
                        const heading = document.querySelector("h1");
                        const picture = document.querySelector("img");
                        if (!heading || !picture || !picture.complete)
                            return null;
                        return {
                            type: document.contentType,
                            heading: heading.textContent,
                            colour: getComputedStyle(heading).color,
                            pictureWidth: picture.naturalWidth,
                            pageWidth: document.documentElement.clientWidth,
                        };
                    });
                } catch (e) {
                    result = null; // the frame went on to another document meanwhile
                }
            }
            if (!result)
                await page.waitForTimeout(500);
        }
        return result;
}

main().catch((e) => {
    process.stderr.write(String(e.stack || e) + "\n");
    process.exit(1);
});
