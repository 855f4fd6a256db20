// quit_signals.h: SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C, a closed terminal) end
// the host in order: the event loops are left (desktop) or the batch stops after its
// current step, and the caller then runs the same orderly end as after "Выход" (every
// module's Unload, the window tree, the libraries), so what the module saves at its end
// reaches the profile.
//
// The handler only writes the signal's number into a pipe; the user-interface thread reads
// it and leaves the loops. The handler resets itself, so a second signal while the host is
// closing ends it at once, as the user who presses Ctrl+C twice expects.
#pragma once

// Installs the handlers once per process (later calls do nothing), after the QApplication
// exists. False (with the reason on standard error) when the pipe or a handler could not
// be set up; the host runs on.
bool QuitOnTerminationSignals();

// The signal that ended the event loop, or 0.
int TerminationSignal();

// 0 while no termination signal came; else 128 + its number, after the host said once on
// standard error which signal is closing it.
int AnnouncedTermination();
