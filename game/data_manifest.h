// The manifest carried by data made from the game's generated files in
// another form (the web build's, with its music as Ogg Vorbis): the checksum
// of the files it was made from, and that of its own files, so that the data
// stands in for the original only while it is what the build made.
#pragma once

#include "os/types.h"

#define DATA_MANIFEST_FILE "data_manifest.txt"
// Room for the whole text: the three lines and their numbers.
#define DATA_MANIFEST_TEXT_MAX 96

struct DataManifest {
    u64 made_from;  // the checksum of the generated files this data was made from
    u64 contents;   // the checksum of this data's own files
};

// The manifest's text: a first line naming it, then a line for each checksum
// as 16 hexadecimal digits.  Returns its length; out holds
// DATA_MANIFEST_TEXT_MAX bytes.
u32 data_manifest_text(const DataManifest *manifest, char *out);
// True with *manifest filled when bytes are exactly such a text.
bool data_manifest_parse(const u8 *bytes, u64 size, DataManifest *manifest);
