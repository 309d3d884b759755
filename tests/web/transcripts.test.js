// The golden transcripts' scripts played in the page: the same texts, colours and order as
// their stored transcripts, whose markup the terminal front end is checked against too.
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const { test } = require('node:test');
const { openGame, type, words, eventWords, repoDir, useBrowserAndSite } = require('./page');

const transcripts = path.join(repoDir, 'tests/text/transcripts');

// A stored transcript line by line: "> typed", "* * *", or a line of colour markup.
function transcriptWords(text) {
    return text.split('\n').filter((line) => line !== '').flatMap((line) => {
        if (line.startsWith('> ') || line === '* * *') return [line];
        const spans = [];
        for (const part of line.split(/(<[a-z/]>)/)) {
            if (/^<.>$/.test(part)) spans.style = part[1];
            else spans.push([spans.style || '/', part]);
        }
        return words(spans);
    });
}

const shared = useBrowserAndSite();

for (const name of ['opening', 'saved_path', 'death_and_restart', 'reminders']) {
    test(`${name} plays in the page as its transcript shows`, async () => {
        const page = await openGame(shared.browser, shared.site.url);
        const script = fs.readFileSync(path.join(transcripts, `${name}.script`), 'utf8');
        for (const line of script.split('\n')) {
            if (line.startsWith('>')) await type(page, line.replace(/^> ?/, ''));
            else if (line.startsWith('wait ')) await page.clock.runFor(line.slice(5) * 1000);
        }
        const shown = eventWords(await page.evaluate(() => window.logEvents));
        const expected = transcriptWords(
            fs.readFileSync(path.join(transcripts, `${name}.transcript`), 'utf8'));
        assert.deepStrictEqual(shown, expected);
        await page.close();
    });
}
