// The page's figures (make bench): the size of its files, the time until it is ready to play
// against a static page of the same text, font and style (over a local server and over a slow
// mobile link, where also on a repeat visit, from the service worker's cache), and the cost of adding a text to a long log against a short one. Ratios come
// from one run, in the same browser.
//   node bench/web_bench.js SITE_DIR
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { launch, serveSite, openGame, cpuClock, type } = require('../tests/web/page');

const siteDir = path.resolve(process.argv[2] || 'build-web/site');
const kOwnFiles = ['index.html', 'style.css', 'game.js', 'tarnwick.js'];
const kLoads = 7;
const kSlowLoads = 5;
const kSlowLink = { offline: false, latency: 150, downloadThroughput: 1.6e6 / 8,
    uploadThroughput: 750e3 / 8 };
const kTextsMeasured = 10;
const kBatches = 15;

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// Navigation start until the first text is in the log and the font it is shown in has loaded,
// as the page measures it.
function noteReady() {
    window.readyAt = new Promise((resolve) => {
        const check = () => {
            const fontLoaded = [...document.fonts].some((face) =>
                face.family.replace(/"/g, '') === 'Hack' && face.status === 'loaded');
            if (fontLoaded && document.querySelector('[role=log] p')) resolve(performance.now());
        };
        new MutationObserver(check).observe(document, { childList: true, subtree: true });
        document.fonts.addEventListener('loadingdone', check);
    });
}

// A new context has nothing cached from the last load; one given keeps its service worker.
async function readyTime(browser, url, link, kept) {
    const context = kept ?? await browser.newContext();
    const page = await context.newPage();
    if (link) {
        const cdp = await context.newCDPSession(page);
        await cdp.send('Network.enable');
        await cdp.send('Network.emulateNetworkConditions', link);
    }
    await page.addInitScript(noteReady);
    await page.goto(url);
    const time = await page.evaluate(() => window.readyAt);
    await (kept ? page.close() : context.close());
    return time;
}

// Ready times of repeat visits over the link: the site visited once (its service worker
// installed and active), then loaded again in the same context.
async function repeatReady(browser, url, loads, link) {
    const context = await browser.newContext();
    const page = await context.newPage();
    await page.goto(url);
    await page.evaluate(() => navigator.serviceWorker.ready.then(({ active }) =>
        active.state === 'activated' || new Promise((resolve) =>
            active.addEventListener('statechange', resolve))));
    await page.close();
    const times = [];
    for (let i = 0; i < loads; ++i) times.push(await readyTime(browser, url, link, context));
    await context.close();
    return times;
}

// A copy of the site whose static.html shows the game's first text without any script.
async function staticTwin(browser, url) {
    const page = await openGame(browser, url);
    const log = await page.getByRole('log').innerHTML();
    await page.close();
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'tarnwick-static-'));
    for (const name of fs.readdirSync(siteDir)) {
        fs.copyFileSync(path.join(siteDir, name), path.join(dir, name));
    }
    const html = fs.readFileSync(path.join(siteDir, 'index.html'), 'utf8')
        .replace(/<script [^>]*><\/script>\n|<link rel="preload" href="[^"]*js"[^>]*>\n/g, '')
        .replace(/(role="log"[^>]*>)/, `$1${log}`);
    fs.writeFileSync(path.join(dir, 'static.html'), html);
    return dir;
}

// A game whose log holds about `lines` lines of story text, and a way to add texts to it: a
// typed line each frame, each adding its echo and one reply, two lines.
async function LogOf(browser, url, lines) {
    const page = await openGame(browser, url);
    const typeLooks = (count) => page.evaluate((n) => {
        const input = document.querySelector('input');
        for (let i = 0; i < n; ++i) {
            input.value = 'look around';
            input.dispatchEvent(new KeyboardEvent('keydown', { key: 'Enter', bubbles: true }));
        }
    }, count);
    for (const line of ['i understand', 'yes', 'push the red button']) await type(page, line);
    await page.clock.runFor(9000);
    const count = () => page.getByRole('log').locator('p').count();
    const looks = Math.max(0, Math.ceil((lines - await count()) / 2));
    await typeLooks(looks);
    await page.clock.runFor(17 * looks + 100);
    const cpu = await cpuClock(page);  // script, style, layout and paint
    const first = await count();
    const batches = [];
    return {
        first,
        batches,
        // Milliseconds of CPU time per text over kTextsMeasured texts.
        async measure() {
            await typeLooks(kTextsMeasured);
            const start = await cpu();
            await page.clock.runFor(17 * kTextsMeasured);
            batches.push((await cpu() - start) / kTextsMeasured);
        },
        async close() {
            const last = await count();
            await page.close();
            if (last - first !== 2 * kTextsMeasured * batches.length) {
                throw new Error('a text was not added');
            }
            return last;
        },
    };
}

const kiB = (bytes) => `${bytes} bytes = ${(bytes / 1024).toFixed(1)} KiB`;

// Ready-to-play times of the static page and the game's, in turn, and their medians.
async function compareReady(browser, site, twin, loads, link) {
    const game = [];
    const still = [];
    for (let i = 0; i < loads; ++i) {
        still.push(await readyTime(browser, twin.url + 'static.html', link));
        game.push(await readyTime(browser, site.url, link));
    }
    const runs = (times) => times.map((time) => time.toFixed(0)).join(' ');
    console.log(`  static page of the same text  ${median(still).toFixed(1)} ms  (${runs(still)})`);
    console.log(`  the game's page               ${median(game).toFixed(1)} ms  (${runs(game)})`);
    console.log(`  ratio                         ${(median(game) / median(still)).toFixed(2)}`);
}

(async () => {
    const bytes = (names) => names.reduce((sum, name) =>
        sum + fs.statSync(path.join(siteDir, name)).size, 0);
    const names = fs.readdirSync(siteDir).sort();
    console.log('The site folder:');
    names.forEach((name) => console.log(`  ${name.padEnd(22)} ${bytes([name])} bytes`));
    console.log(`  everything             ${kiB(bytes(names))} (goal: 200 KB)`);
    console.log(`  the page's own         ${kiB(bytes(kOwnFiles))} (${kOwnFiles.join(', ')}; ` +
        'goal: 300 KB)');

    const browser = await launch();
    const site = await serveSite(siteDir);
    const twin = await serveSite(await staticTwin(browser, site.url));
    console.log(`\nReady to play, median of ${kLoads} loads over a local server ` +
        `(load average ${os.loadavg()[0].toFixed(1)}; goal: a ratio of at most 1.5):`);
    await compareReady(browser, site, twin, kLoads);
    console.log(`\nReady to play over the slow mobile link (1.6 Mbit/s down, 750 kbit/s up, ` +
        `150 ms latency, nothing cached), median of ${kSlowLoads} (goal: the game at most 1.2 s):`);
    await compareReady(browser, site, twin, kSlowLoads, kSlowLink);
    const repeats = await repeatReady(browser, site.url, kSlowLoads, kSlowLink);
    console.log(`  the game's page, visited again  ${median(repeats).toFixed(1)} ms  ` +
        `(${repeats.map((time) => time.toFixed(0)).join(' ')}; the files from its service ` +
        'worker; goal: at most 0.3 s)');

    // Both logs take turns, so that both see the machine as it is at the time.
    const logs = [await LogOf(browser, site.url, 100), await LogOf(browser, site.url, 10000)];
    for (let batch = 0; batch < kBatches; ++batch) {
        for (const log of logs) await log.measure();
    }
    console.log(`\nAdding a text (echo and reply, one a frame; median of ${kBatches} runs of ` +
        `${kTextsMeasured} texts, the two logs in turn):`);
    for (const log of logs) {
        const lines = `${log.first} to ${await log.close()}`.padEnd(14);
        const cost = median(log.batches).toFixed(3);
        console.log(`  log of ${lines} lines  ${cost} ms CPU time a text`);
    }
    const ratio = median(logs[1].batches) / median(logs[0].batches);
    console.log(`  ratio                       ${ratio.toFixed(2)} (goal: at most 1.5)`);
    site.close();
    twin.close();
    await browser.close();
})();
