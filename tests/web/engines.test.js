// A short game in each browser engine, from disk and over http: the opening with a typo,
// history, the colours and the font; and the splash shows the pixels of its source picture.
// From disk, in a copy whose page first notes what reaches the console, nothing does.
const assert = require('node:assert');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { after, before, test } = require('node:test');
const { openBrowser } = require('./browsers');
const { serveSite, kColours, siteDir, repoDir } = require('./page');

let site;
const copy = fs.mkdtempSync(path.join(os.tmpdir(), 'tarnwick-'));
before(async () => { site = await serveSite(); });
after(() => { site.close(); fs.rmSync(copy, { recursive: true }); });

function noteConsole() {
    const notes = window.notes = [];
    for (const level of ['debug', 'log', 'info', 'warn', 'error']) {
        console[level] = (...args) => notes.push(args.join(' '));
    }
    for (const type of ['error', 'unhandledrejection', 'securitypolicyviolation']) {
        addEventListener(type, (event) => notes.push(`${type}: ${event.message ?? event.reason ??
            event.blockedURI ?? event.target.outerHTML}`), true);
    }
}
fs.cpSync(siteDir, copy, { recursive: true });
fs.writeFileSync(path.join(copy, 'notes.js'), `(${noteConsole})();`);
fs.writeFileSync(path.join(copy, 'index.html'), fs.readFileSync(path.join(siteDir, 'index.html'),
    'utf8').replace('<title>', '<script src="notes.js"></script><title>'));

const logHas = (text) => document.querySelector('[role=log]').textContent.includes(text);

async function playOpening(browser, url) {
    await browser.goto(url);
    await browser.waitFor(logHas, 'Welcome');
    await browser.waitFor(() => document.fonts.check('bold 16px Hack') && [...document.fonts]
        .some((face) => face.family.replace(/"/g, '') === 'Hack' && face.status === 'loaded'));
    await browser.press('Escape');
    assert.ok(await browser.evaluate(() => document.querySelector('.splash').hidden &&
        document.activeElement === document.querySelector('input')));
    for (const [line, reply] of [['i undrstand', 'Confirming that'], ['yes', 'Clever girl']]) {
        await browser.type(line);
        await browser.press('Enter');
        await browser.waitFor(logHas, reply);
    }
    await browser.type('draft');
    for (const [key, shown] of [['ArrowUp', 'yes'], ['ArrowUp', 'i undrstand'],
        ['ArrowDown', 'yes'], ['ArrowDown', 'draft']]) {
        await browser.press(key);
        assert.strictEqual(await browser.evaluate(() => document.querySelector('input').value),
            shown, key);
    }
    const looks = await browser.evaluate(() => [...document.querySelectorAll('[role=log] span')]
        .map((span) => [span.className || 'plain', getComputedStyle(span).color,
            getComputedStyle(span).fontFamily.replace(/"/g, '')]));
    assert.deepStrictEqual(Object.fromEntries(looks), kColours);
    assert.deepStrictEqual([...new Set(looks.map((look) => look[2]))], ['Hack, monospace']);
}

// Both pictures' pixels, drawn on a blank page whose policy lets data: addresses in (WebKit's
// blank page keeps the policy of the page before it, so this comes first).
async function splashDifference(browser) {
    const address = (file, type) => `data:${type};base64,${fs.readFileSync(file, 'base64')}`;
    await browser.goto('about:blank');
    return browser.evaluate(async (urls) => {
        const [png, webp] = await Promise.all(urls.map(async (url) => {
            const image = Object.assign(new Image(), { src: url });
            await image.decode();
            const { naturalWidth: width, naturalHeight: height } = image;
            const context = Object.assign(document.createElement('canvas'), { width, height })
                .getContext('2d');
            context.drawImage(image, 0, 0);
            return context.getImageData(0, 0, width, height).data;
        }));
        return { size: [png.length, webp.length], differing: png.filter((v, i) => v !== webp[i])
            .length };
    }, [address(path.join(repoDir, 'assets/splash.png'), 'image/png'),
        address(path.join(siteDir, 'splash.webp'), 'image/webp')]);
}

for (const engine of ['chromium', 'firefox', 'webkit']) {
    test(`the opening in ${engine}, from disk and over http`, async () => {
        const browser = await openBrowser(engine);
        try {
            assert.deepStrictEqual(await splashDifference(browser),
                { size: [1280 * 720 * 4, 1280 * 720 * 4], differing: 0 });
            await playOpening(browser, 'file://' + path.join(copy, 'index.html'));
            assert.deepStrictEqual(await browser.evaluate(() => window.notes), []);
            await playOpening(browser, site.url);
        } finally {
            await browser.close();
        }
    });
}
