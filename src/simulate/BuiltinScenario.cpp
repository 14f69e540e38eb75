#include "simulate/BuiltinScenario.h"

const char* const builtinScenario = R"(# A desktop with one display, an editor and a browser.
screen 0 0 1920 1080 0 0 1920 1055
app 812 com.example.editor Editor
app 813 com.example.browser Browser
window 471 812 120 80 800 600
window 472 812 300 200 640 480 offscreen
window 501 813 960 100 900 700
focus 812
permission accessibility on
permission screen-recording on
env QUELM_PIN_TEST 1

say == launch with the self-test armed
at 0 launch 4242
dump settings
say == a second copy starts and ends at once
at 1 launch 4243
dump copies
at 3 dump log
say == the editor's window is pinned; its first frames measure the corner once
frame 471 none
frame 471 24
frame 471 30
at 4 dump pinned
say == the shortcut again while the editor is in front: its window is unpinned
at 5 toggle
dump pinned
say == the browser's window is pinned, then the browser quits
focus 813
at 6 toggle
dump pinned
at 7 quit 813
dump pinned
say == the whole log
dump log
say == option + P, through the registered hot key, pins the editor's window
focus 812
at 8 press-keys option+P
dump pinned
say == the status menu with one window pinned, in Polish (the default language)
menu open
say == option + P again unpins it
at 9 press-keys option+P
dump pinned
say == the status menu in English with nothing pinned
language en
menu open
say == its first item pins the front window; the unpin item then unpins all
menu choose 0
menu open
menu choose "Unpin pinned window"
dump pinned
say == another program holds command + Q: recording it fails and releases option + P
take-combination 12 256
at 10 shortcut 12 0x100000
press-keys option+P
press-keys command+Q
dump pinned
say == the shortcut's lines in the log
at 11 dump log
say == the editor's window is pinned again; the panel lies over it, framed
app 814 com.example.notes Notes
window 601 814 1200 600 500 400
focus 812
at 12 toggle
frame 471 24
dump pinned
say == the editor moves its window and announces it: the panel follows
move 471 200 150
dump pinned
say == a drag the editor does not announce: the next display refresh moves the panel
announce 812 off
move 471 260 180
refresh
dump pinned
say == a press on the panel while Notes is in front raises the editor's window
focus 814
at 13 mouse-press 500 400
mouse-release 500 400
say == a press outside every panel does nothing
focus 814
mouse-press 1300 700
say == the editor's window closes: within a second the panel is unpinned
at 14 close 471
wait 1
dump pinned
say == the whole log again, now with the press and the raise
dump log
)";
