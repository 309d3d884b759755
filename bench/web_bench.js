// The page's figures (make bench): the size of its own files, the time until it is ready to
// play against a static page of the same text, font and style, and the cost of adding a text
// to a long log against a short one. Ratios come from one run, in the same browser.
//   node bench/web_bench.js SITE_DIR
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { launch, serveSite, openGame } = require('../tests/web/page');

const siteDir = path.resolve(process.argv[2] || 'build-web/site');
const kOwnFiles = ['index.html', 'style.css', 'game.js', 'tarnwick.js'];
const kLoads = 7;
const kTextsMeasured = 50;
const kBatches = 5;

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// Navigation start until the first text is in the log and the font has loaded, as the page
// measures it.
function noteReady() {
    window.readyAt = new Promise((resolve) => {
        new MutationObserver((_, observer) => {
            if (!document.querySelector('[role=log] p')) return;
            observer.disconnect();
            document.fonts.ready.then(() => resolve(performance.now()));
        }).observe(document, { childList: true, subtree: true });
    });
}

async function readyTime(browser, url) {
    const context = await browser.newContext();  // nothing cached from the last load
    const page = await context.newPage();
    await page.addInitScript(noteReady);
    await page.goto(url);
    const time = await page.evaluate(() => window.readyAt);
    await context.close();
    return time;
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

// Milliseconds per text the game adds, a typed line each frame, once the log holds `lines`.
async function addTextCost(browser, url, lines) {
    const page = await openGame(browser, url);
    const typeLines = (count) => page.evaluate((n) => {
        const input = document.querySelector('input');
        for (let i = 0; i < n; ++i) {
            input.value = 'look around';
            input.dispatchEvent(new KeyboardEvent('keydown', { key: 'Enter', bubbles: true }));
        }
    }, count);
    for (const line of ['i understand', 'yes', 'push the red button']) {
        await typeLines(0);
        await page.getByRole('textbox').fill(line);
        await page.keyboard.press('Enter');
        await page.clock.runFor(17);
    }
    await page.clock.runFor(9000);
    const count = () => page.getByRole('log').locator('p').count();
    // Each look adds its echo and one text: two lines.
    await typeLines(Math.max(0, Math.ceil((lines - await count()) / 2)));
    await page.clock.runFor(17 * Math.ceil(lines / 2) + 100);
    const before = await count();
    const batches = [];
    for (let batch = 0; batch < kBatches; ++batch) {
        await typeLines(kTextsMeasured);
        const start = process.hrtime.bigint();
        await page.clock.runFor(17 * kTextsMeasured);
        batches.push(Number(process.hrtime.bigint() - start) / 1e6 / kTextsMeasured);
    }
    const added = await count() - before;
    await page.close();
    if (added !== 2 * kTextsMeasured * kBatches) throw new Error('a text was not added');
    return { lines: before, perText: median(batches) };
}

(async () => {
    const bytes = kOwnFiles.map((name) => fs.statSync(path.join(siteDir, name)).size);
    const total = bytes.reduce((a, b) => a + b, 0);
    console.log('The page\'s own files (font and splash not counted):');
    kOwnFiles.forEach((name, i) => console.log(`  ${name.padEnd(12)} ${bytes[i]} bytes`));
    console.log(`  total        ${total} bytes = ${(total / 1024).toFixed(1)} KiB (goal: 300 KB)`);

    const browser = await launch();
    const site = await serveSite();
    const twin = await serveSite(await staticTwin(browser, site.url));
    const game = [];
    const still = [];
    for (let i = 0; i < kLoads; ++i) {
        still.push(await readyTime(browser, twin.url + 'static.html'));
        game.push(await readyTime(browser, site.url));
    }
    const runs = (times) => times.map((time) => time.toFixed(0)).join(' ');
    console.log(`\nReady to play, median of ${kLoads} loads over a local server ` +
        `(load average ${os.loadavg()[0].toFixed(1)}):`);
    console.log(`  static page of the same text  ${median(still).toFixed(1)} ms   (${runs(still)})`);
    console.log(`  the game's page               ${median(game).toFixed(1)} ms   (${runs(game)})`);
    console.log(`  ratio                         ${(median(game) / median(still)).toFixed(2)} ` +
        '(goal: at most 1.5)');

    const costs = [];
    for (const lines of [100, 10000]) costs.push(await addTextCost(browser, site.url, lines));
    console.log(`\nAdding a text (echo and reply, one a frame; median of ${kBatches} runs of ` +
        `${kTextsMeasured}):`);
    for (const cost of costs) {
        console.log(`  log of ${String(cost.lines).padStart(5)} lines  ${cost.perText.toFixed(3)} ms a text`);
    }
    console.log(`  ratio                ${(costs[1].perText / costs[0].perText).toFixed(2)} ` +
        '(goal: at most 1.5)');
    site.close();
    twin.close();
    await browser.close();
})();
