// Encodes one file with reading, encoding and writing on three threads, so
// that the disk, the page cache and the encoder all work at once. Memory stays
// at a few fixed buffers whatever the file's size.
#pragma once

#include "apple_double.h"
#include "output_file.h"

#include <binhex/binhex.h>

namespace binhex::cli {

struct ForkSources {
    int data_fd = -1; // read from its current offset, data_length bytes
    int resource_fd = -1;
    ByteRange resource; // read with pread
};

// Writes the whole .hqx for `info` to `output`. Throws Failure when a fork
// cannot be read, changes size while it is read, or the output cannot be
// written.
void encode_to_file(const FileInfo& info, const ForkSources& sources, OutputFile& output);

} // namespace binhex::cli
