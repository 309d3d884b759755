// A short game in each browser engine, from disk and over http: the opening with a typo,
// history, the colours and the font; and the splash shows the pixels of the picture it is made
// from.
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const { after, before, test } = require('node:test');
const { openBrowser } = require('./browsers');
const { serveSite, siteDir, repoDir } = require('./page');

let site;
before(async () => { site = await serveSite(); });
after(() => site.close());

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
        .map((span) => [span.className || 'plain', getComputedStyle(span).color, getComputedStyle(
            span).fontFamily.replace(/"/g, '')]));
    assert.deepStrictEqual(Object.fromEntries(looks), {
        plain: 'rgb(174, 180, 184)', 's-a': 'rgb(211, 64, 18)', 's-h': 'rgb(114, 176, 229)',
        's-i': 'rgb(201, 155, 109)', 's-s': 'rgb(161, 190, 126)',
    });
    assert.deepStrictEqual([...new Set(looks.map((look) => look[2]))], ['Hack, monospace']);
}

// Both pictures drawn into canvases on a blank page, where no policy keeps data: addresses out
// (WebKit's blank page keeps the policy of a page shown before it, so this comes first).
async function splashDifference(browser) {
    const address = (file, type) => `data:${type};base64,${fs.readFileSync(file, 'base64')}`;
    await browser.goto('about:blank');
    return browser.evaluate(async (urls) => {
        const [png, webp] = await Promise.all(urls.map(async (url) => {
            const image = new Image();
            image.src = url;
            await image.decode();
            const canvas = Object.assign(document.createElement('canvas'),
                { width: image.naturalWidth, height: image.naturalHeight });
            canvas.getContext('2d').drawImage(image, 0, 0);
            return canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
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
            await playOpening(browser, 'file://' + path.join(siteDir, 'index.html'));
            await playOpening(browser, site.url);
        } finally {
            await browser.close();
        }
    });
}
