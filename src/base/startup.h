#pragma once
// What a program does first, before it opens or writes any file.

namespace meridan {

// A write's temporary file lives unnamed until its bytes are complete and
// has a name only for the moment between being linked into the directory
// and renamed over its target; this makes SIGTERM, SIGINT and SIGHUP
// remove such a name before they end the process (a signal the caller
// ignores stays ignored).
void RemoveTemporaryFilesOnSignals();

// Any of the descriptors 0-2 that is closed is opened on /dev/null,
// read-only, so that no file the program opens later takes its number (and
// its output), and writes to it still fail.
void OpenClosedStandardDescriptors();

}  // namespace meridan
