// How the run ends from outside: SIGTERM, SIGINT and SIGHUP write a byte into a pipe that the
// frame loop polls beside the X connection (a handler may do nothing else safely), and X errors
// and a lost connection end the process at once, quietly, with a code below 128: the daemon
// destroys the window right after its SIGTERM, so errors about it are part of a normal end.
#pragma once

// Installs the three signal handlers, ignores SIGPIPE (a dead X connection is then an I/O error,
// not a kill) and returns the pipe's read end, or -1 when no pipe can be made.
int WatchEndSignals();

// Empties the pipe; true when an end signal had arrived.
bool EndSignalArrived(int fd);

// While starting, X errors are only counted (a bad window id is then reported like any failed
// call); from the first frame on, an error about the window ends the process with 0 and any other
// with 1 after one line on stderr. A lost connection ends it with 1.
void InstallXErrorHandlers();
void EndOnXErrors();
