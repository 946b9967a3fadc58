// Removes a named temporary file when SIGINT, SIGTERM or SIGHUP ends the
// program, then lets the signal end it as it would have. (A temporary without
// a name needs none of this: the kernel drops it with the last descriptor.)
#pragma once

namespace binhex::cli {

// Installs the handlers; call once, before any temporary file exists.
void install_cleanup_handlers();

// From now on a signal removes `name` in `directory_fd`. The name is copied;
// names longer than 255 bytes are not accepted (false).
bool arm_cleanup(int directory_fd, const char* name);

// The temporary is gone or published; a signal now removes nothing.
void disarm_cleanup();

} // namespace binhex::cli
