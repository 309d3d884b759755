// The page's shell around the compiled game: it runs the game's clock when something is due,
// feeds typed lines in and shows what the play session reports. Everything shown is set as
// text, never parsed as markup.
(function () {
    'use strict';

    const kSplashMilliseconds = 4000;
    // The keys that end the splash, by KeyboardEvent.code: the window's (session/splash_keys.inc).
    const kSplashKeys = [@TARNWICK_SPLASH_KEYS@];
    // Far more than a line holds, even behind control characters that cleaning drops.
    const kLongestPaste = 4096;
    // The log is kept in blocks of lines, and blocks in sections, so that the browser lays out
    // a new line without walking every line before it: adding to a long log costs what adding
    // to a short one does.
    const kLinesPerBlock = 100;
    const kBlocksPerSection = 10;

    const log = document.getElementById('log');
    const status = document.getElementById('status');
    const input = document.getElementById('command');
    const commandLine = input.parentElement;  // the prompt and the field
    const splash = document.getElementById('splash');
    const spoken = document.getElementById('spoken');  // what the page says besides the log

    // The font is asked for now rather than at the first layout, which waits for the scripts;
    // without it the page shows the browser's own monospace font.
    document.fonts.load('bold 16px Hack').catch(() => {});

    let game = null;
    let section = null;        // the section of the log that new blocks go into
    let block = null;          // the block that new lines go into
    const typedLines = [];     // one is handed to the game each frame

    // --- The compiled game, through its C functions ---------------------------------------

    function gameApi(module) {
        // Passes each string as a UTF-8 copy on the heap, whatever its length.
        function withStrings(strings, call) {
            const pointers = strings.map((text) => {
                const size = module.lengthBytesUTF8(text) + 1;
                const pointer = module._malloc(size);
                module.stringToUTF8(text, pointer, size);
                return pointer;
            });
            try {
                return call(...pointers);
            } finally {
                pointers.forEach((pointer) => module._free(pointer));
            }
        }
        const text = (pointer) => (pointer ? module.UTF8ToString(pointer) : null);

        return {
            // Every reading is the page's clock in seconds; the game turns it into its own time.
            start: () => text(module._TarnwickStart()),
            frame: (reading, typed) =>
                withStrings([typed], (p) => text(module._TarnwickFrame(reading, p))),
            pause: (reading) => module._TarnwickPause(reading),
            resume: (reading) => module._TarnwickResume(reading),
            millisToSleep: (lineWaiting, reading) =>
                module._TarnwickMillisToSleep(lineWaiting ? 1 : 0, reading),
            lineBytes: module._TarnwickLineBytes(),
            spanSeparator: String.fromCharCode(module._TarnwickSpanSeparator()),
            cleanLine: (raw) => withStrings([raw], (p) => text(module._TarnwickCleanLine(p))),
            historyAdd: (line) => withStrings([line], (p) => module._TarnwickHistoryAdd(p)),
            historyOlder: (shown) =>
                withStrings([shown], (p) => text(module._TarnwickHistoryOlder(p))),
            historyNewer: () => text(module._TarnwickHistoryNewer()),
            setTimeToAct: (name, say) =>
                withStrings([name], (p) => text(module._TarnwickSetTimeToAct(p, say ? 1 : 0))),
        };
    }

    // --- The log ----------------------------------------------------------------------------

    function paragraphOf(spans) {
        const paragraph = document.createElement('p');
        for (const [style, content] of spans) {
            const span = document.createElement('span');
            if (/^[a-z]$/.test(style)) span.className = 's-' + style;
            span.textContent = content;
            paragraph.append(span);
        }
        return paragraph;
    }

    function append(paragraph) {
        if (block === null || block.childElementCount >= kLinesPerBlock) {
            if (section === null || section.childElementCount >= kBlocksPerSection) {
                section = document.createElement('div');
                log.append(section);
            }
            block = document.createElement('div');
            section.append(block);
        }
        block.append(paragraph);
    }

    // A span as the game writes it: its style letter, then its text.
    const spanOf = (text) => [text[0], text.slice(1)];

    // Events as the game's WebDisplay writes them: T typed line, L display line, C emptied.
    function show(events) {
        let added = false;
        for (const event of events.split('\n')) {
            const body = event.slice(1);
            if (event[0] === 'C') {
                log.replaceChildren();
                section = null;
                block = null;
                lastReply = [];
            } else if (event[0] === 'T') {
                lastReply = [];
                // The player's own command: shown, but not announced back to them.
                const echo = paragraphOf([spanOf(body)]);
                echo.setAttribute('aria-hidden', 'true');
                append(echo);
                added = true;
            } else if (event[0] === 'L') {
                const line = paragraphOf(body.split(game.spanSeparator).map(spanOf));
                append(line);
                heardLater(line);
                added = true;
            }
        }
        if (added) scrollLogToEnd();
    }

    // --- What a screen reader hears -----------------------------------------------------------

    // The log has no name: a reader says a live region's name before each of its texts (Orca
    // does), and the page's heading names the game already.
    //
    // A reader stops what it says, and drops what it has queued, at every key the player
    // presses (Orca does). A text that comes while the player types is shown at once but kept
    // from the reader until the typing stops for a moment or the line is sent; then it is read
    // as new. One that the log's emptying took away meanwhile (the beast's, when a late `close`
    // cut its warning) is said by the page instead. F6 says the last reply again, as in the
    // window.
    const kTypingPauseMilliseconds = 1200;
    let typingTimer = null;  // set while the player types
    let unheard = [];        // lines shown while the player typed, not yet read
    let lastReply = [];      // the game's texts since the player's last line

    function heardLater(line) {
        lastReply.push(line.textContent);
        if (typingTimer === null) return;
        line.setAttribute('aria-hidden', 'true');
        unheard.push(line);
    }

    function readUnheard() {
        clearTimeout(typingTimer);
        typingTimer = null;
        say(unheard.filter((line) => !line.isConnected).map((line) => line.textContent));
        for (const line of unheard.filter((line) => line.isConnected)) {
            // Put back in its place, it is an addition the reader reads.
            line.removeAttribute('aria-hidden');
            line.parentNode.insertBefore(line, line.nextSibling);
        }
        unheard = [];
    }

    function say(texts) {
        if (texts.length === 0) return;
        spoken.replaceChildren(Object.assign(document.createElement('p'),
            { textContent: texts.join(' ') }));
    }

    document.addEventListener('keydown', (event) => {
        if (event.key === 'F6') {
            event.preventDefault();
            say(lastReply);
            return;
        }
        spoken.replaceChildren();  // heard by now, or cut by this key
        if (event.key === 'Enter') {
            readUnheard();
        } else {
            clearTimeout(typingTimer);
            typingTimer = setTimeout(readUnheard, kTypingPauseMilliseconds);
        }
    }, true);

    // --- The clock: the game runs when something is due, and the page sleeps otherwise -------

    // After each step the game says how long until it can next change by itself: a timer wakes
    // the page then, a typed line wakes it at once, and while nothing is due no frame is asked
    // for at all. The game's clock stands still while the page is hidden.
    let frameRequest = null;  // the frame asked for, when something is due at once
    let wakeTimer = null;     // the timer set, when something is due later

    const clockReading = () => performance.now() / 1000;

    function runClock() {
        try {
            show(game.frame(clockReading(), typedLines.length > 0 ? typedLines.shift() : ''));
        } catch (error) {
            fail('the game stopped (' + error + ')');
        }
    }

    // Asks to be woken when the game next needs its clock, and only then.
    function schedule() {
        cancelAnimationFrame(frameRequest);
        clearTimeout(wakeTimer);
        frameRequest = null;
        wakeTimer = null;
        if (game === null || document.hidden) return;
        const wait = game.millisToSleep(typedLines.length > 0, clockReading());
        if (wait === 0) {
            frameRequest = requestAnimationFrame(step);
        } else if (wait > 0) {
            // A timed text runs at once rather than a frame later.
            wakeTimer = setTimeout(step, wait);
        }
    }

    function step() {
        frameRequest = null;
        wakeTimer = null;
        if (game === null || document.hidden) return;
        runClock();
        schedule();
    }

    document.addEventListener('visibilitychange', () => {
        if (game === null) return;
        if (document.hidden) {
            runClock();  // the time until now still counts
            game.pause(clockReading());
        } else {
            game.resume(clockReading());
        }
        schedule();
    });

    // --- The log's end stays in view --------------------------------------------------------

    // When the log's height changes (a phone's keyboard opening, a window resized), its newest
    // text stays in view, unless the player had scrolled back to read. Its outer box is watched:
    // the inner one also changes as the scroll bar comes, which the scroll here can bring about,
    // and the browser then reports a loop in the console.
    let logAtEnd = true;
    let endScrolledTo = null;  // where the page last scrolled the log to its end
    function scrollLogToEnd() {
        log.scrollTop = log.scrollHeight;
        endScrolledTo = log.scrollTop;
        logAtEnd = true;
    }
    // The event of the page's own scroll can come after the log has shrunk (a keyboard opening
    // right after a text): it still leaves the end in view.
    log.addEventListener('scroll', () => {
        logAtEnd = log.scrollTop === endScrolledTo ||
            log.scrollHeight - log.scrollTop - log.clientHeight < 2;
    });
    new ResizeObserver(() => {
        if (logAtEnd) scrollLogToEnd();
    }).observe(log, { box: 'border-box' });

    // --- The splash -------------------------------------------------------------------------

    function splashShown() {
        return !splash.hidden;
    }

    // Once the splash has ended, its timer must not take the focus from wherever it went.
    const splashTimer = setTimeout(endSplash, kSplashMilliseconds);

    // The line has the focus from the start, under the splash. A screen reader starts reading
    // a page aloud once it has loaded, unless its focus is in a field: then it says the field
    // and lets keys through to it (Orca's focus mode; NVDA's too). Were the focus to move in
    // later, on the splash's timer, it would land while the reader still reads the page, and
    // the reader would keep its own keys (Orca does not change modes while reading aloud): the
    // first letters typed would move the reader about the page instead. Making the whole page
    // an application would let every key through, but would also take away the reader's way of
    // reading the story back.
    input.disabled = false;
    focusInput();

    function endSplash() {
        clearTimeout(splashTimer);
        splash.hidden = true;
        focusInput();
    }

    splash.addEventListener('click', endSplash);

    // --- The input line ---------------------------------------------------------------------

    function focusInput() {
        if (!input.disabled) input.focus();
    }

    function setInput(line) {
        input.value = line;
        input.setSelectionRange(line.length, line.length);
    }

    // Keeps what the window's field would hold: 31 bytes, whole characters, no controls. A huge
    // paste is cut first, so the game's memory never has to hold it.
    function cleanInput() {
        const cleaned = game.cleanLine(input.value.slice(0, kLongestPaste));
        if (cleaned !== input.value) setInput(cleaned);
    }

    const encoder = new TextEncoder();
    const byteLength = (text) => encoder.encode(text).length;

    // The longest start of `text` that fits in `room` bytes, in whole characters.
    function fitting(text, room) {
        let fitted = '';
        for (const character of text) {
            room -= byteLength(character);
            if (room < 0) break;
            fitted += character;
        }
        return fitted;
    }

    // As in the window, a full line refuses a typed key and keeps as much of a paste as fits at
    // the caret; the line's own text is never cut to make room.
    input.addEventListener('beforeinput', (event) => {
        if (game === null || event.isComposing || !event.inputType.startsWith('insert')) return;
        const text = event.data ?? event.dataTransfer?.getData('text/plain') ?? '';
        const { selectionStart: start, selectionEnd: end, value } = input;
        const room = game.lineBytes - byteLength(value.slice(0, start) + value.slice(end));
        const fitted = fitting(game.cleanLine(text.slice(0, kLongestPaste)), room);
        if (fitted === text) return;  // the browser inserts it as usual
        event.preventDefault();
        if (fitted !== '') input.setRangeText(fitted, start, end, 'end');
    });

    // What an input method composed is only cleaned once it is done.
    input.addEventListener('input', (event) => {
        if (game !== null && !event.isComposing) cleanInput();
    });
    input.addEventListener('compositionend', () => {
        if (game !== null) cleanInput();
    });

    // Keys that end a composition come with isComposing, or in some browsers as key code 229:
    // they confirm the composed text and never submit the line.
    const composing = (event) => event.isComposing || event.keyCode === 229;

    input.addEventListener('keydown', (event) => {
        if (composing(event) || splashShown() || game === null) return;
        let recalled = null;
        if (event.key === 'Enter') {
            const line = input.value;
            if (line !== '') {
                typedLines.push(line);
                game.historyAdd(line);
                setInput('');
                schedule();
            }
        } else if (event.key === 'ArrowUp') {
            recalled = game.historyOlder(input.value);
        } else if (event.key === 'ArrowDown') {
            recalled = game.historyNewer();
        } else {
            return;
        }
        event.preventDefault();
        if (recalled !== null) setInput(recalled);
    });

    const typesText = (event) => !event.ctrlKey && !event.metaKey && !event.altKey &&
        event.key.length === 1;

    document.addEventListener('keydown', (event) => {
        if (splashShown()) {
            // A letter typed then (by a player who cannot see the splash) goes into the line.
            if (kSplashKeys.includes(event.code)) {
                event.preventDefault();
                endSplash();
            } else if (typesText(event)) {
                endSplash();
            }
            return;
        }
        // Typing anywhere types into the line, but Space scrolls the log once it has the focus.
        const scrollsLog = event.key === ' ' && document.activeElement === log;
        if (document.activeElement !== input && typesText(event) && !scrollsLog) focusInput();
    }, true);

    // A click gives the focus back to the line, unless it selected text to copy. A tap leaves
    // the focus where it is, so that tapping the story puts a phone's keyboard away, unless it
    // is on the input line. A tap's mouse events come last, after any focus change it made.
    let pointerType = 'mouse';
    document.addEventListener('pointerdown', (event) => {
        pointerType = event.pointerType;
    });
    document.addEventListener('mouseup', (event) => {
        if (pointerType !== 'mouse') {
            if (commandLine.contains(event.target)) focusInput();
            return;
        }
        const selection = window.getSelection();
        if (selection === null || selection.isCollapsed) focusInput();
    });

    // --- The time to act ---------------------------------------------------------------------

    // How long the story waits after a warning: chosen in a menu under the command line, kept in
    // the browser's storage, and said in the log when changed. Before the game starts, a status
    // beside the menu says the step and where the menu is, so that a player who cannot see
    // learns it exists.
    const timeToAct = document.getElementById('time-to-act');
    const timeToActStatus = document.getElementById('time-to-act-status');
    const kTimeToActKey = 'tarnwick.time-to-act';

    // Storage can be refused (a file:// page in some browsers, a private window): the choice is
    // then kept for this visit only.
    function storedTimeToAct() {
        try {
            return localStorage.getItem(kTimeToActKey);
        } catch {
            return null;
        }
    }

    function storeTimeToAct(name) {
        try {
            localStorage.setItem(kTimeToActKey, name);
        } catch {
            // kept for this visit only
        }
    }

    // Before the game starts: every game the page starts takes the step.
    function setUpTimeToAct() {
        const saved = storedTimeToAct();
        let problem = '';
        if (game.setTimeToAct(saved ?? 'normal', false) === null) {
            problem = 'The saved time to act "' + saved + '" is none of the steps: normal instead.';
            game.setTimeToAct('normal', false);
        }
        timeToAct.value = problem === '' && saved !== null ? saved : 'normal';
        timeToAct.disabled = false;
        // The line's description names the menu, said once before the welcome; this status
        // speaks only of a stored step it could not take, so nothing else talks at the start.
        timeToActStatus.textContent = problem;
    }

    timeToAct.addEventListener('change', () => {
        if (game === null || game.setTimeToAct(timeToAct.value, true) === null) return;
        storeTimeToAct(timeToAct.value);
        timeToActStatus.textContent = '';
        schedule();
    });
    // A click that opens the menu must not send the focus back to the command line.
    timeToAct.addEventListener('mouseup', (event) => event.stopPropagation());

    // --- Start ------------------------------------------------------------------------------

    function fail(reason) {
        game = null;
        status.textContent = 'Sorry, the game cannot run in this browser: ' + reason +
            '. A current version of Firefox, Chrome, Safari or Edge with JavaScript and ' +
            'WebAssembly enabled plays it.';
        input.disabled = true;
        splash.hidden = true;
    }

    function begin(module) {
        game = gameApi(module);
        setUpTimeToAct();
        show(game.start());
        status.textContent = '';
        schedule();
    }

    status.textContent = 'Loading the game…';
    const loadFailed = (error) => fail('its WebAssembly did not load (' + error + ')');
    if (typeof WebAssembly !== 'object') {
        fail('WebAssembly is not available');
    } else if (typeof DecompressionStream !== 'function') {
        fail('it is too old and lacks DecompressionStream, which unpacks the game');
    } else if (typeof TarnwickModule !== 'function' || !(TarnwickWasm instanceof Promise)) {
        fail('its program file tarnwick.js did not load');
    } else {
        // tarnwick.js compiles the WebAssembly it carries as text; handing the result over
        // spares the loader a fetch, which a file:// page may not make. Whatever fails from
        // unpacking to the game's first words is said on the page.
        const instantiateWasm = (imports, receive) => {
            TarnwickWasm.then((module) => WebAssembly.instantiate(module, imports))
                .then(receive).catch(loadFailed);
            return {};
        };
        TarnwickModule({ instantiateWasm }).then(begin)
            .catch((error) => fail('the game did not start (' + error + ')'));
    }

    // --- An app that plays without a network -----------------------------------------------

    // Served over http(s), the page can be installed as an app; its manifest is linked from
    // here, since a file:// page may not fetch it and says so in the console.
    const served = /^https?:$/.test(location.protocol);
    if (served) {
        document.head.append(Object.assign(document.createElement('link'),
            { rel: 'manifest', href: 'tarnwick.webmanifest' }));
    }

    // A service worker (sw.js) keeps the site's files. A new build's worker waits while a page
    // of the last build may still fetch; once this page has all of its files (the page loaded,
    // its font too) it says so, and when every open page of the site has, the worker takes over
    // and the next reload runs the new build whole. From file://, or where the browser has no
    // workers or refuses one, the page plays online as ever, without a word.
    window.addEventListener('load', () => document.fonts.ready.then(() => {
        if (!served) return;
        const takeOver = (worker) => worker?.postMessage('take over');
        return navigator.serviceWorker.register('sw.js').then((registration) => {
            takeOver(registration.waiting);
            registration.addEventListener('updatefound', () => {
                const worker = registration.installing;
                worker.addEventListener('statechange', () => {
                    if (worker.state === 'installed') takeOver(worker);
                });
            });
        });
    }).catch(() => {}));
})();
