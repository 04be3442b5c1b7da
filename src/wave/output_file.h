#pragma once

// Writing a whole output file (a plan, a report) without ever replacing,
// following or removing anything else.

#include <optional>
#include <string>

// Writes text to path so that nothing else is ever replaced, followed or
// removed. A regular file (or a free name) is written through a temporary
// file created exclusively beside it and renamed over it, so a failed write
// leaves the old file as it was. A character device or FIFO (/dev/null, a
// pipe) is written in place and stays what it is. A folder, a block device
// and a symbolic link to a file are refused. False when the text could not
// be written.
bool writeFileWhole(const std::string& path, const std::string& text);
// The same write; the reason it failed ("is a folder", "No space left on
// device"), or nothing when it succeeded.
std::optional<std::string> writeFileWholeFailure(const std::string& path,
                                                 const std::string& text);
