#!/usr/bin/env bash
# The whole window, its window manager's frame included, inside the work area: on a 1366 x 768
# laptop screen under openbox with a 48-pixel panel at the bottom (work area 1366 x 720), the
# title bar and the input line are on screen, above the panel.
source "$(dirname "$0")/lib.sh"

readonly PANEL_HEIGHT=48

command -v openbox > /dev/null || Fail "missing tool: openbox (Debian package openbox)"
/usr/bin/python3 -c 'import Xlib' 2> /dev/null || Fail "missing module: Xlib (Debian package python3-xlib)"
StartXvfb -screen 0 1366x768x24
mkdir -p "$ARTIFACTS"
# The panel is mapped only once openbox has started (its startup command runs then): a panel
# mapped while it still loads its theme, whose fonts take a while with cold font caches on a
# machine's first run, has its strut ignored for good.
openbox --sm-disable --startup "touch '$WORK/openbox-ready'" > "$ARTIFACTS/openbox.log" 2>&1 &
openbox=$!
UNDO_BEFORE_CLEANUP="kill $openbox 2> /dev/null"
deadline=$(( $(NowMs) + FIRST_START_MS ))
until [ -e "$WORK/openbox-ready" ]; do
    kill -0 "$openbox" 2> /dev/null || Fail "openbox ended as it started"
    [ "$(NowMs)" -lt "$deadline" ] || Fail "openbox did not start"
    sleep 0.1
done
# A dock that reserves the bottom of the screen, as a desktop's taskbar does (Debian's Python,
# which has Xlib, whatever python3 comes first on the path).
/usr/bin/python3 - "$PANEL_HEIGHT" > "$ARTIFACTS/panel.log" 2>&1 <<'PANEL' &
import sys, time
from Xlib import Xatom, display
height = int(sys.argv[1])
d = display.Display()
screen = d.screen()
width, top = screen.width_in_pixels, screen.height_in_pixels - height
panel = screen.root.create_window(0, top, width, height, 0, screen.root_depth,
                                  background_pixel=screen.black_pixel)
atom = d.intern_atom
panel.change_property(atom('_NET_WM_WINDOW_TYPE'), Xatom.ATOM, 32, [atom('_NET_WM_WINDOW_TYPE_DOCK')])
panel.change_property(atom('_NET_WM_STRUT_PARTIAL'), Xatom.CARDINAL, 32,
                      [0, 0, 0, height, 0, 0, 0, 0, 0, 0, 0, width - 1])
panel.map()
d.sync()
while True:
    time.sleep(60)
PANEL
UNDO_BEFORE_CLEANUP+="; kill $! 2> /dev/null"
deadline=$(( $(NowMs) + FIRST_START_MS ))
until xprop -root _NET_WORKAREA 2> /dev/null | grep -q "0, 0, 1366, $((768 - PANEL_HEIGHT))"; do
    [ "$(NowMs)" -lt "$deadline" ] || Fail "openbox set no work area above the panel: $(xprop -root _NET_WORKAREA 2>&1)"
    sleep 0.1
done

NewGameDir
StartGame
window=$(WaitWindow)
sleep 0.5
read -r x y width height < <(xwininfo -id "$window" |
    awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
         /Width:/ {w = $2} /Height:/ {h = $2} END {print x, y, w, h}')
read -r left right top bottom < <(xprop -id "$window" _NET_FRAME_EXTENTS | tr -dc '0-9 \n' | xargs)
[ "${top:-0}" -gt 0 ] || Fail "openbox gave the window no title bar"
[ $((y - top)) -ge 0 ] || Fail "the title bar starts at y = $((y - top)), above the screen"
[ $((y + height + bottom)) -le $((768 - PANEL_HEIGHT)) ] ||
    Fail "the frame ends at y = $((y + height + bottom)), under the panel from $((768 - PANEL_HEIGHT))"
[ $((x - left)) -ge 0 ] && [ $((x + width + right)) -le 1366 ] || Fail "the frame is wider than the screen"
Pass "the window ($width x $height under a $top-pixel title bar) fits above the panel"
SHOT_WINDOW=$window
PollScreen 10 ShowsPicture "$SPLASH" 90 || Fail "the splash picture did not show"
HoldKey space
PollScreen 10 IsConsole "$(awk -v w="$width" 'BEGIN { print w / 1280 }')" || Fail "the console did not show"
sleep 0.5
SHOT_WINDOW=root Shot "$WORK/screen.png"
Keep "$WORK/screen.png" "screen"
CloseGame "$window"
Finish
