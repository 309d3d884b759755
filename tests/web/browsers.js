// The three browser engines behind one small interface, so that a playthrough is written once:
// Debian's Chromium through playwright-core, Firefox ESR through puppeteer-core over WebDriver
// BiDi, and WebKitGTK's MiniBrowser through its WebDriver (selenium-webdriver) on the X display.
//   const browser = await openBrowser('chromium' | 'firefox' | 'webkit');
//   goto(url), evaluate(fn, arg) in the page, press(key), type(text), waitFor(fn, arg), close()
const { spawn } = require('node:child_process');
const fs = require('node:fs');
const net = require('node:net');
const puppeteer = require('puppeteer-core');
const { Builder, Key } = require('selenium-webdriver');
const { launch } = require('./page');

// Polls until `check` gives something true, for at most 20 seconds.
async function poll(check, what) {
    for (const end = Date.now() + 20000; !(await check());) {
        if (Date.now() > end) throw new Error(`waited in vain for ${what}`);
        await new Promise((resolve) => setTimeout(resolve, 50));
    }
}

function onPage(browser, page) {
    return { goto: (url) => page.goto(url), evaluate: (fn, arg) => page.evaluate(fn, arg),
        press: (key) => page.keyboard.press(key), type: (text) => page.keyboard.type(text),
        close: () => browser.close() };
}

async function firefox() {
    const browser = await puppeteer.launch({ browser: 'firefox', headless: true,
        executablePath: '/usr/bin/firefox-esr' });
    return onPage(browser, await browser.newPage());
}

async function webkit() {
    if (!process.env.DISPLAY) throw new Error('WebKit needs an X display: try xvfb-run');
    const port = await new Promise((resolve) => {
        const probe = net.createServer().listen(0, '127.0.0.1', () => {
            const { port: free } = probe.address();
            probe.close(() => resolve(free));
        });
    });
    const server = spawn('WebKitWebDriver', [`--port=${port}`], { stdio: 'inherit' });
    process.once('exit', () => server.kill());  // nothing left behind by a failed test
    const url = `http://127.0.0.1:${port}`;
    const binary = ['x86_64', 'aarch64', 'i386'].map((arch) =>
        `/usr/lib/${arch}-linux-gnu/webkit2gtk-4.1/MiniBrowser`).find(fs.existsSync);
    let driver;
    try {
        await poll(() => fetch(`${url}/status`).then((reply) => reply.ok, () => false),
            'WebKitWebDriver');
        driver = await new Builder().usingServer(url).withCapabilities({ browserName: 'MiniBrowser',
            'webkitgtk:browserOptions': { binary, args: ['--automation'] } }).build();
    } catch (error) {
        server.kill();
        throw error;
    }
    const keys = (text) => driver.actions().sendKeys(text).perform();
    return { goto: (address) => driver.get(address),
        evaluate: (fn, arg) => driver.executeScript(`return (${fn})(arguments[0]);`, arg),
        press: (key) => keys(Key[key.replace(/^Arrow/, 'Arrow_').toUpperCase()]), type: keys,
        close: () => driver.quit().finally(() => server.kill()) };
}

async function openBrowser(engine) {
    const open = { chromium: async () => {
        const browser = await launch();
        return onPage(browser, await browser.newPage());
    }, firefox, webkit }[engine];
    const browser = await open();
    browser.waitFor = (fn, arg) => poll(() => browser.evaluate(fn, arg), `${fn} (${arg})`);
    return browser;
}

module.exports = { openBrowser };
