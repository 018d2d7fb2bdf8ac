// The request to stop that an interrupt (Ctrl-C, SIGINT) or a termination request (SIGTERM)
// makes. This is the batch program's only process-wide state: the handlers set it, the program
// hands it to the batch as a read-only flag. It is linked into the batch program alone, never
// into the core library.
#pragma once

#include <atomic>

namespace kegverter {

/// Installs the handlers (once; later calls return the same flag) and returns the flag: 0 until
/// a request arrives, then the number of the signal that made it (SIGINT 2, SIGTERM 15; on
/// Windows Ctrl-C counts as SIGINT and Ctrl-Break, closing the console, logoff and shutdown as
/// SIGTERM). The handlers only set the flag; the program goes on until it stops by itself.
const std::atomic<int>& InstallStopHandlers();

}  // namespace kegverter
