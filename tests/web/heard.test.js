// What the page gives a screen reader to read, and when: the welcome once, never the typed line,
// texts that come while the player types once the typing stops, F6; step by step (a step runs
// the clock on, presses a key or types), then what was heard since, if checked.
const assert = require('node:assert');
const { test } = require('node:test');
const { focused, openGame, useBrowserAndSite } = require('./page');

const shared = useBrowserAndSite();
const kToBeast = 'look around\nopen drawer\ntake key\nopen door\nwalk\nuse key\nopen left door\n';

test('what a screen reader hears, and when', async () => {
    const page = await openGame(shared.browser, shared.site.url, { splash: true });
    assert.ok(await focused(page.getByRole('textbox')) && await page.getByRole('img').isVisible());
    assert.match(await page.getByRole('log').ariaSnapshot(), /^- log:/);  // said before each text
    for (const [steps, heard] of [
        [[], /^Welcome to the Vosk!.*know what I want you to know\.$/],
        [['i understand', 'Enter', 17], /^So you understand eh\.\.\? Confirming/],
        [[14900, 'y', 200], /^$/],
        [['es', 'Enter', 17], /^Is that a yes or no pal\?\nClever girl/],
        [['F6'], /^Clever girl.* get down to business\.$/],
        [['push the red button\n', 9000, kToBeast, 1300], null],
        [Array(10).fill(['s', 1000]).flat(), /^$/],  // the log emptied meanwhile
        [[1200], /^The beast comes through.* might save your life\.\nWhere\.\.\.where am I\?$/],
    ]) {
        for (const step of steps) {
            await (typeof step === 'number' ? page.clock.runFor(step)
                : page.keyboard[/^(Enter|F6)$/.test(step) ? 'press' : 'type'](step));
        }
        const said = (await page.evaluate(() => window.logEvents.splice(0))).map((e) => e.text);
        if (heard !== null) assert.match(said.filter(Boolean).join('\n'), heard, steps.join());
    }
    await page.close();
});
