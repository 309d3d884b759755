#pragma once

// Facts about the terminal the program runs in, if any.

// Whether the file descriptor is a terminal.
bool IsTerminal(int fd);

// Columns of the terminal behind the descriptor, or 0 when it is none or does not say.
int TerminalColumns(int fd);

// The number of colours the terminfo description of $TERM gives the terminal behind the
// descriptor; -1 when there is no description or it says nothing of colours.
int TerminfoColours(int fd);
