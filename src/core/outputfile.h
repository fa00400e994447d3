// Writing a finished output (a picture, a table, measured points) to the
// path the user named,
// as the user expects from what stands at that path.
#pragma once

#include <string>
#include <string_view>

namespace helidisk {

// Writes all of `bytes` to `path`:
// - A new name or an existing regular file: the bytes go into a temporary
//   file beside it, which is renamed over it only when all of them are
//   written, so that a failure leaves the old file (or nothing) behind. A
//   replaced file keeps its permission bits; a new one gets 0666 less the
//   umask. A read-only file is replaced too, as long as its directory is
//   writable.
// - An existing named pipe or character or block device: the bytes are
//   written straight into it, as the shell's redirection does; a pipe's
//   reader gets them, /dev/null discards them. Opening a pipe waits for its
//   reader.
// - A directory or a socket: refused.
// A symbolic link is followed: one to a pipe or device writes into it, one
// to a regular file replaces that file and leaves the link as it is. A link
// to nothing is refused rather than replaced by a file.
// Returns true when everything was written; otherwise `reason` says why, in
// the system's words where the system gave the error ("No space left on
// device").
bool WriteOutputFile(const std::string& path, std::string_view bytes, std::string& reason);

}  // namespace helidisk
