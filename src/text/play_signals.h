#pragma once

// The signals interactive play answers. The handlers only take note and wake the loop's wait;
// the loop looks between frames.

// Ctrl-C, SIGTERM and SIGHUP end the game the way the end of input does; a reader that went
// away (SIGPIPE) shows up as a failed write instead. A signal ignored when the program
// started (under nohup, say) stays ignored.
void InstallStopHandlers();
bool StopRequested();
// Once the terminal is given back: ends the program by the signal that stopped play, with the
// default action, so that the shell sees it (status 130 for Ctrl-C). Returns when none did.
void RaiseStopSignalAgain();

// For the line editor: Ctrl-Z (SIGTSTP), being continued (SIGCONT) and a resized window
// (SIGWINCH) are noted instead of acted on at once. Ctrl-\ (SIGQUIT) still quits the Unix way,
// only later: play ends, the terminal is given back, then SIGQUIT is raised again with its
// default action (status 131, and a core dump where those are kept).
void InstallEditingHandlers();
// Each is true once for every time the signal came, then false until it comes again.
bool TakeSuspendRequest();
bool TakeContinued();
bool TakeResized();
// Stops the program as Ctrl-Z would have; returns when it is continued (`fg`).
void SuspendSelf();

// Waits until `fd` can be read, one of the signals above arrives, or `timeoutMillis` pass
// (never, when negative). The poll events of `fd`, or 0 when woken for another reason.
short WaitForInput(int fd, int timeoutMillis);
