#include "text/terminal.h"

#include <sys/ioctl.h>
#include <unistd.h>

// Last: the terminfo header defines many short macros.
#include <term.h>

bool IsTerminal(int fd) {
    return isatty(fd) == 1;
}

int TerminalColumns(int fd) {
    winsize size{};
    if (ioctl(fd, TIOCGWINSZ, &size) != 0) return 0;
    return size.ws_col;
}

int TerminfoColours(int fd) {
    int error = 0;
    if (setupterm(nullptr, fd, &error) != 0) return -1;  // 0 is OK
    const int colours = tigetnum(const_cast<char*>("colors"));
    del_curterm(cur_term);  // nothing else of the description is needed
    return colours;
}
