// The page while the player only reads (make bench-web): its main thread's CPU time over 10 s
// after the splash, with no input and a reminder pending, against a page that does nothing but
// ask for every animation frame, measured in the same run; the frames each asked for; and how
// late the timed texts of a short playthrough come, on the real clock.
//   node bench/web_idle_bench.js SITE_DIR
const path = require('node:path');
const os = require('node:os');
const { launch, serveSite } = require('../tests/web/page');

const siteDir = path.resolve(process.argv[2] || 'build-web/site');
const kIdleSeconds = 10;
// The story's timed texts measured, in seconds after the moment each is counted from: the
// welcome's first reminder after the game's first frame, the wake-up texts after the button.
const kWelcomeReminder = { text: 'You can do this!', after: 20 };
const kWakeUpTexts = [['Where...where am I?', 1.5], ['Argh, my head hurts', 4],
    ["I can't remember getting", 6.5], ['Look around', 8]];

// Counts the animation frames asked for, notes when the first one ran, and when each
// paragraph of the log was added (in the same task as the game's step that added it).
function instrument() {
    window.framesAsked = 0;
    window.firstFrame = null;
    window.texts = [];
    const request = window.requestAnimationFrame;
    window.requestAnimationFrame = (callback) => {
        window.framesAsked += 1;
        return request((time) => {
            window.firstFrame ??= performance.now();
            callback(time);
        });
    };
    new MutationObserver((mutations) => {
        const now = performance.now();
        for (const mutation of mutations) {
            for (const node of mutation.addedNodes) {
                if (node.tagName === 'P') window.texts.push({ now, text: node.textContent });
            }
        }
    }).observe(document, { childList: true, subtree: true });
}

// Main-thread CPU time (Chromium's TaskDuration in thread time) and frames asked for while the
// page sits untouched for kIdleSeconds.
async function idle(page) {
    const cdp = await page.context().newCDPSession(page);
    await cdp.send('Performance.enable', { timeDomain: 'threadTicks' });
    const cpuSeconds = async () => (await cdp.send('Performance.getMetrics')).metrics
        .find((metric) => metric.name === 'TaskDuration').value;
    const [cpu, frames] = [await cpuSeconds(), await page.evaluate(() => window.framesAsked)];
    await new Promise((resolve) => setTimeout(resolve, kIdleSeconds * 1000));
    return {
        cpu: (await cpuSeconds() - cpu) * 1000,
        frames: await page.evaluate(() => window.framesAsked) - frames,
    };
}

// Milliseconds between `after` seconds past `from` and when `text` was added to the log.
async function lateness(page, text, from, after) {
    const shown = page.getByRole('log').getByText(text);
    await shown.waitFor({ timeout: (after + 10) * 1000 });
    const times = await page.evaluate(() => window.texts);
    return times.find((entry) => entry.text.includes(text)).now - (from + after * 1000);
}

(async () => {
    const browser = await launch();
    const site = await serveSite(siteDir);

    const busy = await browser.newPage();
    await busy.addInitScript(instrument);
    await busy.goto('about:blank');
    await busy.evaluate(() => {
        const frame = () => requestAnimationFrame(frame);
        frame();
    });
    const baseline = await idle(busy);
    await busy.close();

    const page = await browser.newPage();
    await page.addInitScript(instrument);
    await page.goto(site.url);
    await page.getByRole('log').getByText('Welcome').waitFor();
    await page.keyboard.press('Escape');
    const game = await idle(page);

    const late = [];
    const firstFrame = await page.evaluate(() => window.firstFrame);
    late.push(await lateness(page, kWelcomeReminder.text, firstFrame, kWelcomeReminder.after));
    for (const line of ['i understand', 'yes', 'push the red button']) {
        await page.getByRole('textbox').fill(line);
        await page.keyboard.press('Enter');
        await page.waitForFunction((typed) =>
            window.texts.some((entry) => entry.text === typed), line);
    }
    const pushed = await page.evaluate(() =>
        window.texts.find((entry) => entry.text === 'push the red button').now);
    for (const [text, after] of kWakeUpTexts) late.push(await lateness(page, text, pushed, after));
    await page.close();

    console.log(`The page left alone for ${kIdleSeconds} s after the splash, a reminder pending ` +
        `(load average ${os.loadavg()[0].toFixed(1)}):`);
    console.log(`  a page asking for every frame  ${baseline.cpu.toFixed(1)} ms CPU time, ` +
        `${baseline.frames} frames asked for`);
    console.log(`  the game's page                ${game.cpu.toFixed(1)} ms CPU time, ` +
        `${game.frames} frames asked for`);
    console.log(`  ratio                          ${(game.cpu / baseline.cpu).toFixed(3)} ` +
        '(goal: at most 0.1)');
    console.log('How late each timed text came after its time: ' +
        `${late.map((ms) => ms.toFixed(1)).join(', ')} ms; ` +
        `at most ${Math.max(...late).toFixed(1)} ms (goal: 20 ms)`);
    site.close();
    await browser.close();
})();
