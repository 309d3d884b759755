// One game played in the page as a person would, with the page's own promises checked on the
// way: the splash, colours, typed text kept literal, the line's limit and history, focus, the
// log's reading order for screen readers, reflow, the hidden-tab pause, and requests; then the
// page from disk, where it cannot run, and as an app.
const assert = require('node:assert');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const zlib = require('node:zlib');
const { test } = require('node:test');
const axe = require('axe-core');
const { chromium } = require('playwright-core');
const { serveSite, stopClock, focused, kColours, kSplashKeys, type, repoDir, siteDir,
    useBrowserAndSite } = require('./page');

const shared = useBrowserAndSite();

async function setHidden(page, hidden) {
    await page.evaluate((value) => {
        Object.defineProperty(document, 'hidden', { value, configurable: true });
        Object.defineProperty(document, 'visibilityState',
            { value: value ? 'hidden' : 'visible', configurable: true });
        document.dispatchEvent(new Event('visibilitychange'));
    }, hidden);
}

async function axeViolations(page, rules) {
    await page.evaluate(axe.source);  // evaluated by the test, so the page's policy allows it
    return page.evaluate((options) => window.axe.run(document, options)
        .then((results) => results.violations.map((v) => `${v.id}: ${v.nodes[0].html}`)), rules);
}

test('a whole game in the page', async () => {
    const page = await shared.browser.newPage({ viewport: { width: 1280, height: 720 } });
    const requests = [];
    page.on('request', (request) => requests.push(request.url()));
    page.on('dialog', () => assert.fail('typed text ran as script'));
    await stopClock(page);
    await page.goto(shared.site.url);
    const log = page.getByRole('log');
    const input = page.getByRole('textbox', { name: 'Your command' });

    // The splash, with its text alternative, over a game ready to play; each of the window's
    // keys ends it, the keypad's Enter does not.
    await page.getByRole('img', { name: /Tarnwick III/ }).waitFor();
    assert.ok(!await page.getByText('Tap to begin').isVisible());  // there are keys here
    await log.getByText('Welcome').waitFor();
    for (const key of ['NumpadEnter', ...kSplashKeys]) {
        await page.evaluate(() => { document.querySelector('.splash').hidden = false; });
        await page.keyboard.press(key);
        assert.strictEqual(await page.getByRole('img').isVisible(), key === 'NumpadEnter', key);
    }
    assert.ok(await focused(input));

    // Typed markup is shown as the characters typed; Enter on an empty line does nothing.
    await page.keyboard.type('<img src=x onerror=alert(1)>');
    await page.keyboard.press('Enter');
    await page.clock.runFor(17);
    await log.getByText('<img src=x onerror=alert(1)>').waitFor();
    assert.strictEqual(await log.locator('img').count(), 0);
    const lines = await log.locator('p').count();
    await page.keyboard.press('Enter');
    await page.clock.runFor(100);
    assert.strictEqual(await log.locator('p').count(), lines);

    // The five colours of the window, the echo among them.
    await type(page, 'i understand');
    const colours = await log.locator('span').evaluateAll((spans) => Object.fromEntries(
        spans.map((span) => [span.className || 'plain', getComputedStyle(span).color])));
    assert.deepStrictEqual(colours, kColours);
    // Game texts are read out from the log; the player's own commands are not read back.
    const heard = await log.ariaSnapshot();
    assert.match(heard, /Confirming that for me/);
    assert.doesNotMatch(heard, /img src|i understand/);
    assert.strictEqual(await log.getAttribute('aria-live'), 'polite');

    // History as in a shell, the draft (empty or not) kept past the newest line.
    await type(page, 'yes');
    for (const [key, shown] of [['ArrowUp', 'yes'], ['ArrowDown', ''], ['draft', 'draft'],
        ['ArrowUp', 'yes'], ['ArrowUp', 'i understand'], ['ArrowDown', 'yes'],
        ['ArrowDown', 'draft'], ['ArrowDown', 'draft']]) {
        await (key.startsWith('Arrow') ? page.keyboard.press(key) : input.fill(key));
        assert.strictEqual(await input.inputValue(), shown, key);
    }
    // An Enter that ends an input method's composition submits nothing.
    await input.dispatchEvent('keydown', { key: 'Enter', isComposing: true });
    await input.dispatchEvent('keydown', { key: 'Enter', keyCode: 229 });
    await page.clock.runFor(100);
    assert.strictEqual(await log.getByText('draft').count(), 0);

    // At most 31 bytes, whole characters only: keys past them are refused, even in the middle
    // with the caret left where it was; a paste keeps what fits at the caret.
    const full = 'a'.repeat(21) + 'é'.repeat(5);
    const valueAndCaret = () => input.evaluate((i) => [i.value, i.selectionStart]);
    await input.fill('');
    await page.keyboard.type(full + 'éb');
    await input.evaluate((i) => i.setSelectionRange(1, 1));
    await page.keyboard.type('x');
    assert.deepStrictEqual(await valueAndCaret(), [full, 1]);
    await page.context().grantPermissions(['clipboard-read', 'clipboard-write']);
    await page.evaluate(() => navigator.clipboard.writeText('old\tiron éé and more'));
    await input.fill('take the lantern');
    await input.evaluate((i) => i.setSelectionRange(9, 9));
    await page.keyboard.press('ControlOrMeta+V');
    assert.deepStrictEqual(await valueAndCaret(), ['take the oldiron éé anlantern', 22]);
    await input.fill('');

    // A click on the log gives the focus back, unless it selects text.
    await log.getByText('Clever girl').click({ clickCount: 3 });
    assert.match(await page.evaluate(() => String(window.getSelection())), /Clever girl/);
    assert.ok(!await focused(input));
    await log.click({ position: { x: 5, y: 5 } });
    assert.ok(await focused(input));

    // Into the house; the beast kills a player who shuts the door too late, and the log is
    // emptied for a new start.
    for (const line of ['push the red button', 'look around', 'open drawer', 'take key',
        'open door', 'walk', 'use key', 'open left door']) {
        await type(page, line);
        if (line.startsWith('push')) await page.clock.runFor(9000);
    }
    await page.screenshot({ path: path.join(repoDir, 'docs/browser.png') });
    await page.clock.runFor(12000 + 9000);
    assert.strictEqual(await log.getByText('shreds you to pieces').count(), 0);
    await log.getByText('Look around').waitFor();

    // A phone's width: the text wraps anew, nothing scrolls sideways, the end stays in view.
    const remember = log.getByText("I can't remember getting into this room.");
    const wideHeight = (await remember.boundingBox()).height;
    await page.setViewportSize({ width: 390, height: 844 });
    assert.ok((await remember.boundingBox()).height > wideHeight);
    await type(page, 'look around');
    assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= 390));
    assert.ok(await log.evaluate((l) => l.scrollHeight - l.scrollTop - l.clientHeight < 2));

    // Hidden for a minute 0.6 s after the beast's door opened: the game waited, the 0.6 s kept.
    for (const line of ['open drawer', 'take key', 'open door', 'walk', 'use key',
        'open left door']) {
        await type(page, line);
    }
    await page.clock.runFor(600);
    await setHidden(page, true);
    await page.clock.runFor(60000);
    await setHidden(page, false);
    await page.clock.runFor(350);
    assert.strictEqual(await log.getByText('QUICKLY').count(), 0);
    await page.clock.runFor(100);
    await log.getByText('QUICKLY').waitFor();
    await type(page, 'shut door');
    await page.clock.runFor(2000);
    await log.getByText('Your fast reflexes saved your life!').waitFor();
    await type(page, 'open right door');
    await page.clock.runFor(31000);
    await log.getByText("It's over, there's no more content.").waitFor();

    // Accessible in both palettes; the lighter one reaches 4.5:1. (axe-core needs timers.)
    await page.clock.resume();
    assert.deepStrictEqual(await axeViolations(page, { rules: { 'color-contrast':
        { enabled: false } } }), []);
    await page.emulateMedia({ contrast: 'more' });
    assert.deepStrictEqual(await axeViolations(page), []);

    // The time to act, reached from the line by Tab, said in the log and kept for the next visit.
    const timeToAct = page.getByRole('combobox', { name: 'Time to act' });
    await input.focus();
    await page.keyboard.press('Tab');
    assert.ok(await focused(timeToAct));
    await timeToAct.selectOption('longest');
    await log.getByText('Time to act: longest, ten times as long.').waitFor();
    await page.reload();
    await log.getByText('Welcome').waitFor();
    assert.strictEqual(await timeToAct.inputValue(), 'longest');

    assert.deepStrictEqual(requests.filter((url) => !url.startsWith(shared.site.url)), []);
    await page.close();
});

test('the page starts from disk, and says so in words when it cannot run', async () => {
    // From disk, the splash going by itself after four seconds.
    const fromDisk = await shared.browser.newPage();
    await stopClock(fromDisk);
    await fromDisk.goto('file://' + path.join(siteDir, 'index.html'));
    await fromDisk.getByRole('log').getByText('Welcome').waitFor();
    await fromDisk.clock.runFor(3900);
    assert.ok(await fromDisk.getByRole('img').isVisible());
    await fromDisk.clock.runFor(200);
    await fromDisk.getByRole('img').waitFor({ state: 'hidden' });
    await type(fromDisk, 'i understand');
    await fromDisk.getByRole('log').getByText('Confirming that for me').waitFor();
    await fromDisk.close();

    const noScript = await shared.browser.newPage({ javaScriptEnabled: false });
    await noScript.goto(shared.site.url);
    assert.ok(await noScript.locator('noscript p').isVisible());
    assert.match(await noScript.locator('noscript p').textContent(), /needs JavaScript/);
    await noScript.close();

    // Each way the program can break (tarnwick.js changed or missing, a browser too old to
    // unpack it), and what the page says instead of loading for ever.
    const program = fs.readFileSync(path.join(siteDir, 'tarnwick.js'), 'utf8');
    const carrying = (bytes) => program.replace(/resolve\("[^"]*"/,
        `resolve("${zlib.gzipSync(bytes).toString('base64')}"`);
    const trapping = `${program}TarnwickModule = ((load) => (options) => load(options)
        .then((m) => Object.assign(m, { _TarnwickStart() { throw 'a trap'; } })))(TarnwickModule);`;
    for (const [script, said, setUp = () => {}] of [
        [program, /too old and lacks DecompressionStream/, () => delete window.DecompressionStream],
        [null, /tarnwick\.js did not load/],
        [program.replace(/resolve\("/, 'resolve("AAAA'), /WebAssembly did not load \(TypeError/],
        [carrying('\0not wasm'), /WebAssembly did not load \(CompileError/],
        [carrying('\0asm\x01\0\0\0'), /WebAssembly did not load/],
        [trapping, /the game did not start \(a trap\)/]]) {
        const page = await shared.browser.newPage();
        await page.addInitScript(setUp);
        await page.route('**/tarnwick.js', (route) => (script === null ? route.abort()
            : route.fulfill({ body: script, contentType: 'text/javascript' })));
        await page.goto(shared.site.url);
        await page.getByRole('status').getByText(said).waitFor();
        await page.close();
    }
});

// The site as build `name`: its page and scripts marked, and its worker made as the build does.
function build(dir, name) {
    const files = fs.readdirSync(siteDir).filter((file) => file !== 'sw.js');
    for (const file of files) {
        fs.copyFileSync(path.join(siteDir, file), path.join(dir, file));
        fs.appendFileSync(path.join(dir, file), { '.html': `\n<meta name=build content=${name}>`,
            '.js': `\n;(self.builds ??= []).push('${name}');` }[path.extname(file)] ?? '');
    }
    execFileSync('cmake', [`-DSITE_DIR=${dir}`, `-DFILES=${files}`,
        `-DTEMPLATE=${repoDir}/src/web/sw.js`, '-P', `${repoDir}/src/web/make_worker.cmake`]);
}

test('the page as an app, in a profile on disk: installable, offline, updated whole', async (t) => {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'tarnwick-'));
    build(dir, 'A');
    // Files the browser may keep for an hour: a new build's worker must ask again for each.
    const cached = { 'Cache-Control': 'max-age=3600' };
    let site = await serveSite(dir, 0, cached);
    const context = await chromium.launchPersistentContext(path.join(dir, 'profile'),
        { executablePath: '/usr/bin/chromium', args: ['--headless', '--no-sandbox'] });
    t.after(() => context.close().then(site.close).then(() => fs.rmSync(dir, { recursive: true })));
    const page = context.pages()[0];
    const messages = [];
    page.on('console', (message) => messages.push(message.text()));
    await page.addInitScript(() => {
        const workers = navigator.serviceWorker;
        workers?.addEventListener('controllerchange', () => { self.handedOver = true; });
        workers?.addEventListener('message', ({ data }) => { self.answer = data; });
    });
    const load = async (url) => {  // the builds of the page and its two scripts
        await (url ? page.goto(url) : page.reload());
        await page.getByRole('log').getByText('Welcome').waitFor();
        return page.evaluate(() => [document.querySelector('meta[name=build]').content,
            ...self.builds].join());
    };
    // No worker from disk; over http the first visit's worker is active, and the app complete.
    assert.strictEqual(await load(`file://${dir}/index.html`), 'A,A,A');
    assert.strictEqual(await load(site.url), 'A,A,A');
    await page.evaluate(() => navigator.serviceWorker.ready);
    assert.deepStrictEqual(await (await context.newCDPSession(page))
        .send('Page.getInstallabilityErrors'), { installabilityErrors: [] });
    // With the server stopped, a reload plays.
    site.close();
    assert.strictEqual(await load(), 'A,A,A');
    await page.keyboard.type('\ni understand\n');  // Enter first, past the splash
    await page.getByRole('log').getByText('Confirming that for me').waitFor();
    // A new build: the first reload runs the last one, which hands over once loaded; the second
    // runs the new one, and the last one's cache is gone.
    build(dir, 'B');
    site = await serveSite(dir, site.port, cached);
    assert.strictEqual(await load(), 'A,A,A');
    await page.waitForFunction(() => self.handedOver);
    assert.strictEqual(await load(), 'B,B,B');
    assert.deepStrictEqual([(await page.evaluate(() => caches.keys())).length, messages], [1, []]);
    // While another tab of the site is still loading (it never says it has all its files), the
    // next build waits.
    build(dir, 'C');
    const loading = await context.newPage();
    await loading.addInitScript(() => { ServiceWorker.prototype.postMessage = () => {}; });
    await loading.goto(site.url);
    assert.strictEqual(await load(), 'B,B,B');
    await page.waitForFunction(() => self.answer);  // the new build's worker heard this page
    assert.deepStrictEqual(await page.evaluate(() => [self.answer, self.handedOver]),
        ['waiting', undefined], 'took over from a loading tab');
    // The waiting build's files are in a cache of their own, beside the running build's.
    assert.strictEqual((await page.evaluate(() => caches.keys())).length, 2);
});
