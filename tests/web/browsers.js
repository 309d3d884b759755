// The three engines behind one interface, so a playthrough is written once: Debian's Chromium
// (playwright-core), Firefox ESR (puppeteer-core over WebDriver BiDi) and WebKitGTK's MiniBrowser
// (selenium-webdriver, on the X display). Each has goto(url), evaluate(fn, arg) in the page,
// press(key), type(text), waitFor(fn, arg) and close().
const fs = require('node:fs');
const puppeteer = require('puppeteer-core');
const { Builder, Key } = require('selenium-webdriver');
const remote = require('selenium-webdriver/remote');
const { launch } = require('./page');

// The longest a browser or its first page may take to start on a fresh machine (cold font and
// disk caches, a new profile), and so the deadline of every wait.
const kFirstStartMs = 120000;

// Polls until `check` gives something true.
async function poll(check, what) {
    for (const end = Date.now() + kFirstStartMs; !(await check());) {
        if (Date.now() > end) throw new Error(`waited in vain for ${what}`);
        await new Promise((resolve) => setTimeout(resolve, 50));
    }
}

// A Playwright or Puppeteer browser's new page, whose calls have the same names.
async function onNewPage(browser) {
    const page = await browser.newPage();
    return { goto: (url) => page.goto(url), evaluate: (fn, arg) => page.evaluate(fn, arg),
        press: (key) => page.keyboard.press(key), type: (text) => page.keyboard.type(text),
        close: () => browser.close() };
}

async function webkit() {
    if (!process.env.DISPLAY) throw new Error('WebKit needs an X display: try xvfb-run');
    const server = new remote.DriverService.Builder('WebKitWebDriver').setLoopback(true).build();
    const binary = ['x86_64', 'aarch64', 'i386'].map((arch) =>
        `/usr/lib/${arch}-linux-gnu/webkit2gtk-4.1/MiniBrowser`).find(fs.existsSync);
    const driver = await server.start(kFirstStartMs).then((url) => new Builder().usingServer(url)
        .withCapabilities({ browserName: 'MiniBrowser',
            'webkitgtk:browserOptions': { binary, args: ['--automation'] } }).build())
        .catch((error) => server.kill().then(() => Promise.reject(error)));
    const keys = (text) => driver.actions().sendKeys(text).perform();
    return { goto: (address) => driver.get(address),
        evaluate: (fn, arg) => driver.executeScript(`return (${fn})(arguments[0]);`, arg),
        press: (key) => keys(Key[key.replace(/^Arrow/, 'Arrow_').toUpperCase()]), type: keys,
        close: () => driver.quit().finally(() => server.kill()) };
}

async function openBrowser(engine) {
    const browser = await { webkit, chromium: async () => onNewPage(await launch()),
        firefox: async () => onNewPage(await puppeteer.launch({ browser: 'firefox',
            headless: true, executablePath: '/usr/bin/firefox-esr', timeout: kFirstStartMs })),
    }[engine]();
    browser.waitFor = (fn, arg) => poll(() => browser.evaluate(fn, arg), `${fn} (${arg})`);
    return browser;
}

module.exports = { openBrowser };
