// The page as an app, in Chromium with a profile on disk: installable; its service worker keeps
// the site, so a reload plays with the server gone; a new build at the same address reaches the
// page within two reloads, and every load runs the files of one build.
const assert = require('node:assert');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { test } = require('node:test');
const { chromium } = require('playwright-core');
const { kChromium, serveSite, siteDir, repoDir } = require('./page');

// The site in `dir` as build `name`: each file the page runs marked with the name, and the
// service worker made for these files as the build makes it.
function build(dir, name) {
    const marks = {
        'index.html': (text) => text.replace('</head>', `<meta name="build" content="${name}">$&`),
        'style.css': (text) => `${text}:root { --build: "${name}"; }\n`,
        'game.js': (text) => `${text}window.gameBuild = "${name}";\n`,
        'tarnwick.js': (text) => `${text}var programBuild = "${name}";\n` };
    const files = fs.readdirSync(siteDir).filter((file) => file !== 'sw.js');
    for (const file of files) {
        const text = fs.readFileSync(path.join(siteDir, file));
        fs.writeFileSync(path.join(dir, file), marks[file]?.(String(text)) ?? text);
    }
    execFileSync('cmake', [`-DSITE_DIR=${dir}`, `-DFILES=${files}`,
        `-DTEMPLATE=${repoDir}/src/web/sw.js`, '-P', `${repoDir}/src/web/make_worker.cmake`]);
}

// The build of each file the page runs.
const builds = () => [document.querySelector('meta[name=build]').content,
    getComputedStyle(document.documentElement).getPropertyValue('--build').replace(/"/g, ''),
    window.gameBuild, window.programBuild];

test('installed, played offline and updated, in a profile on disk', async (t) => {
    const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'tarnwick-app-'));
    const dir = path.join(scratch, 'site');
    fs.mkdirSync(dir);
    build(dir, 'A');
    let site = await serveSite(dir);
    const context = await chromium.launchPersistentContext(path.join(scratch, 'profile'),
        kChromium);
    t.after(async () => {
        await context.close();
        site.close();
        fs.rmSync(scratch, { recursive: true });
    });
    const page = context.pages()[0];
    await page.addInitScript(() => navigator.serviceWorker.addEventListener('controllerchange',
        () => { window.controllerChanged = true; }));
    const messages = [];
    page.on('console', (message) => messages.push(message.text()));
    const load = async (url) => {
        await (url ? page.goto(url) : page.reload());
        await page.getByRole('log').getByText('Welcome').waitFor();
        return page.evaluate(builds);
    };

    // From disk the page plays with no worker; over http the first visit installs one, and the
    // browser finds nothing missing for an app.
    assert.deepStrictEqual(await load(`file://${dir}/index.html`), ['A', 'A', 'A', 'A']);
    assert.deepStrictEqual(await load(site.url), ['A', 'A', 'A', 'A']);
    assert.strictEqual(await page.evaluate(() => navigator.serviceWorker.ready.then(({ active }) =>
        active.state === 'activated' ? active.state : new Promise((resolve) =>
            active.addEventListener('statechange', () => resolve(active.state))))), 'activated');
    const cdp = await context.newCDPSession(page);
    assert.deepStrictEqual(await cdp.send('Page.getInstallabilityErrors'),
        { installabilityErrors: [] });

    // With the server gone, a reload still plays.
    site.close();
    assert.deepStrictEqual(await load(), ['A', 'A', 'A', 'A']);
    await page.keyboard.press('Escape');
    await page.keyboard.type('i understand');
    await page.keyboard.press('Enter');
    await page.getByRole('log').getByText('Confirming that for me').waitFor();

    // A new build: the first reload still runs the last one, whose page hands over to the new
    // worker once loaded; the second runs the new one, and the last build's cache is gone.
    build(dir, 'B');
    site = await serveSite(dir, site.port);
    assert.deepStrictEqual(await load(), ['A', 'A', 'A', 'A']);
    await page.waitForFunction(() => window.controllerChanged);
    assert.deepStrictEqual(await load(), ['B', 'B', 'B', 'B']);
    assert.strictEqual(await page.evaluate(() => caches.keys().then((names) => names.length)), 1);
    assert.deepStrictEqual(messages, []);
});
