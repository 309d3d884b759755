// Shared by the browser tests: Debian's Chromium, a static server for the built site, and the
// page's log recorded as it changes.
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');
const { chromium } = require('playwright-core');

const siteDir = process.env.TARNWICK_SITE || path.join(__dirname, '../../build-web/site');
const repoDir = path.join(__dirname, '../..');

function launch() {
    return chromium.launch({
        executablePath: '/usr/bin/chromium',
        args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
            '--disable-background-networking', '--disable-component-update', '--disable-sync',
            '--disable-smooth-scrolling'],
    });
}

// Serves a folder (the site by default) on a loopback port (a free one unless given), as any
// static server would, with `headers` besides the type; close() also drops the connections kept
// open.
async function serveSite(dir = siteDir, port = 0, headers = {}) {
    const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
        '.webp': 'image/webp', '.woff2': 'font/woff2', '.png': 'image/png' };
    const server = http.createServer((request, response) => {
        const name = path.basename(new URL(request.url, 'http://x').pathname) || 'index.html';
        fs.readFile(path.join(dir, name), (error, body) => {
            response.writeHead(error ? 404 : 200,
                { 'Content-Type': types[path.extname(name)] || 'application/octet-stream',
                    ...headers });
            response.end(error ? 'not found' : body);
        });
    });
    await new Promise((resolve) => server.listen(port, '127.0.0.1', resolve));
    return { url: `http://127.0.0.1:${server.address().port}/`, port: server.address().port,
        close: () => server.close().closeAllConnections() };
}

// Notes every change of a live region in window.logEvents: typed echoes, display lines as
// [style letter, text] spans (the letter from the span's class), and emptyings, each with the
// performance.now() of the task that made it.
function recordLog() {
    window.logEvents = [];
    new MutationObserver((mutations) => {
        const at = performance.now();
        for (const mutation of mutations) {
            // A live region or a part of it (a part removed with the rest is still reported).
            const log = document.querySelector('[role=log]');
            if (mutation.target.isConnected && !mutation.target.closest?.('[aria-live]')) continue;
            if (mutation.target === log && mutation.removedNodes.length > 0) {
                window.logEvents.push({ cleared: true, at });
            }
            for (const node of mutation.addedNodes) {
                if (node.tagName !== 'P') continue;
                const spans = [...node.children].map((span) =>
                    [(span.className.match(/^s-(.)$/) || [0, '/'])[1], span.textContent]);
                if (node.getAttribute('aria-hidden') === 'true') {
                    window.logEvents.push({ typed: node.textContent, spans, at });
                } else {
                    window.logEvents.push({ spans, at, text: node.textContent });
                }
            }
        }
    }).observe(document, { childList: true, subtree: true });
}

// Counts the animation frames the page asks for in window.framesAsked, and notes when the first
// ran in window.firstFrameAt.
function countFrames() {
    window.framesAsked = 0;
    const request = window.requestAnimationFrame;
    window.requestAnimationFrame = (callback) => ++window.framesAsked && request((time) => {
        window.firstFrameAt ??= performance.now();
        callback(time);
    });
}

// Milliseconds of main-thread CPU time so far: other work on a shared machine disturbs it less
// than wall-clock time.
async function cpuClock(page) {
    const cdp = await page.context().newCDPSession(page);
    await cdp.send('Performance.enable', { timeDomain: 'threadTicks' });
    return async () => (await cdp.send('Performance.getMetrics')).metrics
        .find((metric) => metric.name === 'TaskDuration').value * 1000;
}

// A clock that moves only when the test runs it on, however slow the machine.
async function stopClock(page) {
    await page.clock.install({ time: 0 });
    await page.clock.pauseAt(1000);
}

// A page of the site, on a controlled clock unless `clock` is false, the splash skipped unless
// `splash` is true, the welcome in the log; `scripts` run before the page's own.
async function openGame(browser, url, options = {}) {
    const { clock = true, splash = false, scripts = [], ...context } = options;
    const page = await browser.newPage(context);
    if (clock) await stopClock(page);
    for (const script of [recordLog, ...scripts]) await page.addInitScript(script);
    await page.goto(url);
    await page.getByRole('log').getByText('Welcome').waitFor();
    if (!splash) await page.keyboard.press('Escape');
    return page;
}

const focused = (locator) => locator.evaluate((element) => element === document.activeElement);

// The log's five colours, the echo among them, by span class, from the game's palette.
const colour = (name) => `rgb(${execFileSync(path.join(repoDir, 'scripts/palette.sh'), [name],
    { encoding: 'utf8' }).trim().replaceAll(',', ', ')})`;
const kColours = { plain: colour('Plain'), 's-a': colour('Action'), 's-h': colour('Hint'),
    's-i': colour('Interactable'), 's-s': colour('Echo') };

// The keys that end the splash, by KeyboardEvent.code, as the window has them.
const kSplashKeys = [...fs.readFileSync(path.join(repoDir, 'src/session/splash_keys.inc'), 'utf8')
    .matchAll(/^SPLASH_KEY\(\w+, *(\w+)\)/gm)].map((match) => match[1]);

// Types a line and runs one frame, which hands it to the game.
async function type(page, line) {
    await page.getByRole('textbox', { name: 'Your command' }).fill(line);
    await page.keyboard.press('Enter');
    await page.clock.runFor(17);
}

// Words with their style letters: how a text reads and looks, wherever its lines break.
function words(spans) {
    return spans.flatMap(([style, text]) =>
        text.split(/\s+/).filter(Boolean).map((word) => `${word}/${style}`));
}

function eventWords(events) {
    return events.flatMap((event) => event.cleared ? ['* * *']
        : event.typed !== undefined ? ['> ' + event.typed] : words(event.spans));
}

// Starts the browser and the site before a file's tests and stops them after; the fields of the
// object it returns are filled in once the tests start.
function useBrowserAndSite() {
    const { after, before } = require('node:test');
    const shared = {};
    before(async () => {
        shared.browser = await launch();
        shared.site = await serveSite();
    });
    after(async () => {
        await shared.browser.close();
        shared.site.close();
    });
    return shared;
}

module.exports = {
    launch, serveSite, countFrames, cpuClock, stopClock, openGame, focused, kColours, kSplashKeys,
    type, words, eventWords, siteDir, repoDir, useBrowserAndSite,
};
