#pragma once
// The last resort: a crash (SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL;
// std::terminate ends in abort()) or an exit() from inside a library still
// sends each armed port its stop byte (serial/emergency_byte.h) before the
// process goes, whichever thread owns the port. A fatal-signal handler does
// nothing but those writes, then lets the signal's default action end the
// process as it would have.

// Once per process, before the port opens.
void install_crash_stop();
