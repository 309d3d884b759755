// A game on a touch screen: taps leave the focus where they put it, the log's end stays in view
// as the keyboard takes room, and no frame is asked for until a timed text is due.
const assert = require('node:assert');
const { test } = require('node:test');
const { countFrames, focused, openGame, type, useBrowserAndSite } = require('./page');

const shared = useBrowserAndSite();

test('a game on a phone, asleep while nothing is due', async () => {
    const page = await openGame(shared.browser, shared.site.url, { splash: true,
        scripts: [countFrames], viewport: { width: 390, height: 844 }, hasTouch: true,
        isMobile: true });
    const log = page.getByRole('log');
    const input = page.getByRole('textbox', { name: 'Your command' });

    // The splash says what a touch screen can do; a tap on the story puts the keyboard away.
    await page.getByText('Tap to begin').tap();
    assert.ok(await focused(input));
    await log.tap();
    await page.clock.runFor(4500);
    assert.ok(!await focused(input));

    // No frame is asked for until the reminder, due 20 s after the first; it comes within 20 ms.
    const asked = await page.evaluate(() => window.framesAsked);
    await page.clock.runFor(1000);
    assert.strictEqual(await page.evaluate(() => window.framesAsked), asked);
    const due = await page.evaluate(() => window.firstFrameAt + 20000 - performance.now());
    for (const [ms, shown] of [[due - 1, 0], [20, 1]]) {
        await page.clock.runFor(ms);
        assert.strictEqual(await log.getByText('You can do this!').count(), shown);
    }

    // A tap on the prompt focuses the line.
    await page.getByText('>', { exact: true }).tap();
    assert.ok(await focused(input));

    // Two lines typed before a frame are played in the order typed. Once the question's one
    // reminder has come, nothing is due: no frame is asked for.
    for (const line of ['i understand', 'hello']) {
        await input.fill(line);
        await input.press('Enter');
    }
    await page.clock.runFor(16000);
    await log.getByText('Is that a yes or no pal?').waitFor();
    assert.deepStrictEqual((await log.locator('p[aria-hidden=true]').allTextContents()).slice(-2),
        ['i understand', 'hello']);
    const idle = await page.evaluate(() => window.framesAsked);
    await page.clock.runFor(60000);
    assert.strictEqual(await page.evaluate(() => window.framesAsked), idle);

    // The keyboard opening halves the page: the newest text and the line stay in view.
    for (let i = 0; i < 30; ++i) await type(page, `hello ${i}`);
    await page.setViewportSize({ width: 390, height: 420 });
    await page.waitForFunction((l) => l.scrollTop > 0 &&
        l.scrollHeight - l.scrollTop - l.clientHeight < 2, await log.elementHandle());
    const line = await input.boundingBox();
    assert.ok(line.y >= 0 && line.y + line.height <= 420);

    // The keyboard opening between the page's scroll to a new text and that scroll's event: the
    // event is held until the log has shrunk, then let go; the end still comes into view.
    await page.evaluate(() => {
        const story = document.querySelector('[role=log]');
        window.heldScrolls = 0;
        window.addEventListener('scroll', (event) => {
            if (event.target !== story || !window.holdScrolls) return;
            event.stopImmediatePropagation();
            ++window.heldScrolls;
        }, true);
        window.holdScrolls = true;
    });
    await type(page, 'hello again');
    await page.waitForFunction(() => window.heldScrolls > 0);
    await log.evaluate((l) => {
        l.style.maxHeight = `${l.clientHeight / 2}px`;
        window.holdScrolls = false;
        l.dispatchEvent(new Event('scroll'));
    });
    await page.waitForFunction((l) => l.scrollHeight - l.scrollTop - l.clientHeight < 2,
        await log.elementHandle(), { timeout: 5000 });
    await log.evaluate((l) => { l.style.maxHeight = ''; });

    // A keyboard user tabs to the log and scrolls it; a letter still goes to the line.
    await page.keyboard.press('Shift+Tab');
    for (const [key, direction] of [['PageUp', -1], ['ArrowUp', -1], ['ArrowDown', 1],
        ['Space', 1]]) {
        const before = await log.evaluate((l) => l.scrollTop);
        await page.keyboard.press(key);
        const moved = await log.evaluate((l) => l.scrollTop) - before;
        assert.ok(Math.sign(moved) === direction && await focused(log), key);
    }
    await page.keyboard.type('o');
    assert.ok(await focused(input));
    assert.strictEqual(await input.inputValue(), 'o');
    await page.close();
});
