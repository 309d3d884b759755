#pragma once

// The signals interactive play answers. The handlers only take note; the loop looks between
// frames, and a signal also cuts its wait for input short.

// Ctrl-C, SIGTERM and SIGHUP end the game the way the end of input does; a reader that went
// away (SIGPIPE) shows up as a failed write instead.
void InstallStopHandlers();
bool StopRequested();

// For the line editor: Ctrl-Z (SIGTSTP), being continued (SIGCONT) and a resized window
// (SIGWINCH) are noted instead of acted on at once; Ctrl-\ (SIGQUIT) ends the game as Ctrl-C.
void InstallEditingHandlers();
// Each is true once for every time the signal came, then false until it comes again.
bool TakeSuspendRequest();
bool TakeContinued();
bool TakeResized();
// Stops the program as Ctrl-Z would have; returns when it is continued (`fg`).
void SuspendSelf();
