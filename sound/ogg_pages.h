// The pages of an Ogg stream, checked whole before anything is decoded: a
// short or damaged file is refused here and never read past its end.
#pragma once

#include "os/types.h"

enum : u8 {
    OGG_OK = 0,
    OGG_NOT_OGG = 1,         // no capture pattern at the start
    OGG_LOST_CAPTURE = 2,    // a later page does not begin where the one before ended
    OGG_BAD_VERSION = 3,     // a page of a stream structure this reader does not know
    OGG_CUT_SHORT = 4,       // a page's header or body runs past the end of the file
    OGG_BAD_CRC = 5,         // a page's bytes do not match its checksum
    OGG_NOT_FIRST = 6,       // the first page does not begin a stream
    OGG_OTHER_STREAM = 7,    // pages of a second stream (chained or multiplexed)
    OGG_PAGE_MISSING = 8,    // the page numbers skip or repeat
    OGG_NO_END = 9,          // the last page does not end the stream
};

#define OGG_PAGE_HEADER_SIZE 27
#define OGG_FLAG_CONTINUED 0x01
#define OGG_FLAG_FIRST 0x02
#define OGG_FLAG_LAST 0x04

struct OggStream {
    u32 serial;
    u32 page_count;
    i64 last_granule;  // the stream's length in sample frames, from its last page
};

// The checksum a page carries: CRC-32 with polynomial 0x04C11DB7, no
// reflection, starting at 0, over the page with its checksum field as zeros.
u32 ogg_page_crc(const u8 *page, u64 size);
// OGG_OK with *stream filled when every page from the first byte to the last
// is whole, correct and of one stream; else the reason, and *at the offset of
// the page at fault.
u8 ogg_check_pages(const u8 *bytes, u64 size, OggStream *stream, u64 *at);
// A sentence for each result code, without a full stop.
const char *ogg_error_text(u8 error);

// Copies up to capacity bytes of packet index (0 first) of a stream that
// ogg_check_pages accepted, and gives its whole length in *length.  False when
// the stream has no such packet or it does not end within the stream.
bool ogg_read_packet(const u8 *bytes, u64 size, u32 index, u8 *out, u64 capacity, u64 *length);
