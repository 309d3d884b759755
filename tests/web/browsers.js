// The three browser engines behind one small interface, so that a playthrough is written once:
// Debian's Chromium through playwright-core, Firefox ESR through puppeteer-core over WebDriver
// BiDi, and WebKitGTK's MiniBrowser through its WebDriver (selenium-webdriver) on its own Xvfb.
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
    const xvfb = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1280x720x24', '-nolisten',
        'tcp'], { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
    let server;
    const stop = () => { server?.kill(); xvfb.kill(); };
    process.once('exit', stop);  // nothing left behind by a test that fails or times out
    let driver;
    try {
        const display = await new Promise((resolve, reject) => {
            xvfb.stdio[3].once('data', (number) => resolve(`:${String(number).trim()}`));
            xvfb.once('exit', () => reject(new Error('Xvfb did not start')));
        });
        const port = await new Promise((resolve) => {
            const probe = net.createServer().listen(0, '127.0.0.1', () => {
                const { port: free } = probe.address();
                probe.close(() => resolve(free));
            });
        });
        server = spawn('WebKitWebDriver', [`--port=${port}`],
            { env: { ...process.env, DISPLAY: display }, stdio: 'inherit' });
        const url = `http://127.0.0.1:${port}`;
        await poll(() => fetch(`${url}/status`).then((reply) => reply.ok, () => false),
            'WebKitWebDriver');
        const binary = ['x86_64', 'aarch64', 'i386'].map((arch) =>
            `/usr/lib/${arch}-linux-gnu/webkit2gtk-4.1/MiniBrowser`).find(fs.existsSync);
        driver = await new Builder().usingServer(url).withCapabilities({ browserName: 'MiniBrowser',
            'webkitgtk:browserOptions': { binary, args: ['--automation'] } }).build();
    } catch (error) {
        stop();
        throw error;
    }
    const keys = (text) => driver.actions().sendKeys(text).perform();
    return { goto: (address) => driver.get(address),
        evaluate: (fn, arg) => driver.executeScript(`return (${fn})(arguments[0]);`, arg),
        press: (key) => keys(Key[key.replace(/^Arrow/, 'Arrow_').toUpperCase()]), type: keys,
        close: () => driver.quit().finally(stop) };
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
