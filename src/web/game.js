// The page's shell around the compiled game: it feeds frame times and typed lines in and shows
// what the play session reports. Everything shown is set as text, never parsed as markup.
(function () {
    'use strict';

    const kSplashMilliseconds = 4000;
    const kSpanSeparator = '\x1f';
    const kSplashKeys = ['Escape', ' ', 'Enter'];
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
    const splash = document.getElementById('splash');

    // The font is asked for now rather than at the first layout, which waits for the scripts;
    // without it the page shows the browser's own monospace font.
    document.fonts.load('bold 16px Hack').catch(() => {});

    let game = null;
    let section = null;        // the section of the log that new blocks go into
    let block = null;          // the block that new lines go into
    let lastFrameTime = null;  // null: the next frame starts the clock afresh
    const typedLines = [];     // one is handed to the game each frame

    // --- The compiled game, through its C functions ---------------------------------------

    function GameApi(module) {
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
            start: () => text(module._TarnwickStart()),
            frame: (seconds, typed) =>
                withStrings([typed], (p) => text(module._TarnwickFrame(seconds, p))),
            cleanLine: (raw) => withStrings([raw], (p) => text(module._TarnwickCleanLine(p))),
            historyAdd: (line) => withStrings([line], (p) => module._TarnwickHistoryAdd(p)),
            historyOlder: (shown) =>
                withStrings([shown], (p) => text(module._TarnwickHistoryOlder(p))),
            historyNewer: () => text(module._TarnwickHistoryNewer()),
        };
    }

    // --- The log ----------------------------------------------------------------------------

    function Paragraph(spans) {
        const paragraph = document.createElement('p');
        for (const [style, content] of spans) {
            const span = document.createElement('span');
            if (/^[a-z]$/.test(style)) span.className = 's-' + style;
            span.textContent = content;
            paragraph.append(span);
        }
        return paragraph;
    }

    function Append(paragraph) {
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

    // Events as the game's WebDisplay writes them: T typed line, L display line, C emptied.
    function Show(events) {
        let added = false;
        for (const event of events.split('\n')) {
            const body = event.slice(1);
            if (event[0] === 'C') {
                log.replaceChildren();
                section = null;
                block = null;
            } else if (event[0] === 'T') {
                // The player's own command: shown, but not announced back to them.
                const echo = Paragraph([['s', body]]);
                echo.setAttribute('aria-hidden', 'true');
                Append(echo);
                added = true;
            } else if (event[0] === 'L') {
                Append(Paragraph(body.split(kSpanSeparator).map((s) => [s[0], s.slice(1)])));
                added = true;
            }
        }
        if (added) log.scrollTop = log.scrollHeight;
    }

    // --- The clock: frame times while the page is visible ---------------------------------

    // A browser that still runs frames in a hidden page (some slow them down) stops the game's
    // clock all the same; the time the page was hidden never counts.
    function Frame(now) {
        if (game === null) return;  // it failed
        requestAnimationFrame(Frame);
        if (document.hidden) {
            lastFrameTime = null;
            return;
        }
        const seconds = lastFrameTime === null ? 0 : (now - lastFrameTime) / 1000;
        lastFrameTime = now;
        try {
            Show(game.frame(seconds, typedLines.length > 0 ? typedLines.shift() : ''));
        } catch (error) {
            Fail('the game stopped (' + error + ')');
        }
    }

    document.addEventListener('visibilitychange', () => {
        lastFrameTime = null;
    });

    // --- The splash -------------------------------------------------------------------------

    function SplashShown() {
        return !splash.hidden;
    }

    function EndSplash() {
        splash.hidden = true;
        FocusInput();
    }

    splash.addEventListener('click', EndSplash);
    setTimeout(EndSplash, kSplashMilliseconds);

    // --- The input line ---------------------------------------------------------------------

    function FocusInput() {
        if (!SplashShown() && !input.disabled) input.focus();
    }

    function SetInput(line) {
        input.value = line;
        input.setSelectionRange(line.length, line.length);
    }

    // Keeps what the window's field would hold: 31 bytes, whole characters, no controls. A huge
    // paste is cut first, so the game's memory never has to hold it.
    function CleanInput() {
        const cleaned = game.cleanLine(input.value.slice(0, kLongestPaste));
        if (cleaned !== input.value) SetInput(cleaned);
    }

    input.addEventListener('input', (event) => {
        if (!event.isComposing) CleanInput();
    });
    input.addEventListener('compositionend', CleanInput);

    input.addEventListener('keydown', (event) => {
        if (event.isComposing || SplashShown()) return;
        let recalled = null;
        if (event.key === 'Enter') {
            const line = input.value;
            if (line !== '') {
                typedLines.push(line);
                game.historyAdd(line);
                SetInput('');
            }
        } else if (event.key === 'ArrowUp') {
            recalled = game.historyOlder(input.value);
        } else if (event.key === 'ArrowDown') {
            recalled = game.historyNewer();
        } else {
            return;
        }
        event.preventDefault();
        if (recalled !== null) SetInput(recalled);
    });

    document.addEventListener('keydown', (event) => {
        if (SplashShown()) {
            if (kSplashKeys.includes(event.key)) {
                event.preventDefault();
                EndSplash();
            }
            return;
        }
        // Typing anywhere types into the line.
        if (document.activeElement !== input && !event.ctrlKey && !event.metaKey &&
            !event.altKey && event.key.length === 1) {
            FocusInput();
        }
    }, true);

    // A click gives the focus back to the line, unless it selected text to copy.
    document.addEventListener('mouseup', () => {
        const selection = window.getSelection();
        if (selection === null || selection.isCollapsed) FocusInput();
    });

    // --- Start ------------------------------------------------------------------------------

    function Fail(reason) {
        game = null;
        status.textContent = 'Sorry, the game cannot run in this browser: ' + reason +
            '. A current version of Firefox, Chrome, Safari or Edge with JavaScript and ' +
            'WebAssembly enabled plays it.';
        input.disabled = true;
        splash.hidden = true;
    }

    function Begin(module) {
        game = GameApi(module);
        Show(game.start());
        status.textContent = '';
        input.disabled = false;
        FocusInput();
        requestAnimationFrame(Frame);
    }

    status.textContent = 'Loading the game…';
    const LoadFailed = (error) => Fail('its WebAssembly did not load (' + error + ')');
    if (typeof WebAssembly !== 'object') {
        Fail('WebAssembly is not available');
    } else if (typeof TarnwickModule !== 'function' || !(TarnwickWasm instanceof Promise)) {
        Fail('its program file tarnwick.js did not load');
    } else {
        // tarnwick.js compiles the WebAssembly it carries as text; handing the result over
        // spares the loader a fetch, which a file:// page may not make.
        const instantiateWasm = (imports, receive) => {
            TarnwickWasm.then((module) => WebAssembly.instantiate(module, imports))
                .then((instance) => receive(instance), LoadFailed);
            return {};
        };
        TarnwickModule({ instantiateWasm }).then(Begin, LoadFailed);
    }
})();
