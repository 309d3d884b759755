// The page while the player only reads (make bench-web): main-thread CPU time and frames asked
// for over 10 s after the splash, against a page asking for every frame; and how late timed
// texts come.
//   node bench/web_idle_bench.js SITE_DIR
const os = require('node:os');
const path = require('node:path');
const { launch, serveSite, countFrames, cpuClock, openGame } = require('../tests/web/page');

// Timed texts and their due times in seconds: after the game's first frame for the welcome's
// reminder, after the button was pushed for the wake-up texts.
const kReminder = ['You can do this!', 20];
const kWakeUp = [['Where...where', 1.5], ['Argh', 4], ["I can't remember", 6.5], ['Look', 8]];

// Main-thread CPU milliseconds and frames asked for in 10 s.
async function idle(page) {
    const cpu = await cpuClock(page);
    const now = async () => [await cpu(), await page.evaluate(() => window.framesAsked)];
    const start = await now();
    await new Promise((resolve) => setTimeout(resolve, 10000));
    return (await now()).map((value, i) => value - start[i]);
}

// Milliseconds from `after` seconds past `from` until the log shows `text`.
async function lateness(page, [text, after], from) {
    await page.getByRole('log').getByText(text).first().waitFor({ timeout: after * 1000 + 5000 });
    const events = await page.evaluate(() => window.logEvents);
    return events.find((event) => event.text?.startsWith(text)).at - from - after * 1000;
}

(async () => {
    const browser = await launch();
    const site = await serveSite(path.resolve(process.argv[2] || 'build-web/site'));
    const busy = await browser.newPage();
    await busy.addInitScript(countFrames);
    await busy.goto('about:blank');
    await busy.evaluate(() => { const frame = () => requestAnimationFrame(frame); frame(); });
    const [busyCpu, busyFrames] = await idle(busy);
    await busy.close();

    const page = await openGame(browser, site.url, { clock: false, scripts: [countFrames] });
    const [cpu, frames] = await idle(page);
    const late = [await lateness(page, kReminder, await page.evaluate(() => window.firstFrameAt))];
    let pushed;  // when the last line was echoed
    for (const line of ['i understand', 'yes', 'push the red button']) {
        await page.getByRole('textbox').fill(line);
        await page.keyboard.press('Enter');
        pushed = await (await page.waitForFunction((typed) =>
            window.logEvents.find((event) => event.typed === typed)?.at, line)).jsonValue();
    }
    for (const text of kWakeUp) late.push(await lateness(page, text, pushed));

    const row = (name, ms, count) =>
        `  ${name.padEnd(30)} ${ms.toFixed(1)} ms CPU time, ${count} frames asked for`;
    console.log('The page left alone for 10 s after the splash, a reminder pending ' +
        `(load average ${os.loadavg()[0].toFixed(1)}):`);
    console.log(row('a page asking for every frame', busyCpu, busyFrames));
    console.log(row("the game's page", cpu, frames));
    console.log(`  ratio${' '.repeat(25)} ${(cpu / busyCpu).toFixed(3)} (goal: at most 0.1)`);
    console.log(`Timed texts, ms after their time: ${late.map((ms) => ms.toFixed(1)).join(', ')}` +
        ' (goal: at most 20)');
    site.close();
    await browser.close();
})();
