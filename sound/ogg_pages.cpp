// Ogg pages: checked one after another from the first byte to the last.
#include "sound/ogg_pages.h"

#include <string.h>

// A page header's fixed part, read field by field (the file's numbers are
// little-endian and unaligned).
struct OggPage {
    u8 flags;
    i64 granule;
    u32 serial;
    u32 sequence;
    u32 crc;
    u8 segment_count;
    u32 body_size;  // the sum of the segment table
};

struct CrcTable {
    u32 entry[256];
};

static constexpr CrcTable make_crc_table(void) {
    CrcTable table = {};
    for (u32 i = 0; i < 256; i++) {
        u32 r = i << 24;
        for (int bit = 0; bit < 8; bit++) r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
        table.entry[i] = r;
    }
    return table;
}

static constexpr CrcTable CRC_TABLE = make_crc_table();

#define OGG_CRC_AT 22

u32 ogg_page_crc(const u8 *page, u64 size) {
    u32 crc = 0;
    for (u64 i = 0; i < size; i++) {
        u8 byte = (i >= OGG_CRC_AT && i < OGG_CRC_AT + 4) ? 0 : page[i];
        crc = (crc << 8) ^ CRC_TABLE.entry[(crc >> 24) ^ byte];
    }
    return crc;
}

static u32 read_u32(const u8 *p) {
    return (u32)p[0] | ((u32)p[1] << 8) | ((u32)p[2] << 16) | ((u32)p[3] << 24);
}

// Reads the page header at offset: false when it or its segment table does
// not fit in the file.  The body is not looked at.
static bool read_page(const u8 *bytes, u64 size, u64 offset, OggPage *page) {
    if (size - offset < OGG_PAGE_HEADER_SIZE) return false;
    const u8 *p = bytes + offset;
    page->flags = p[5];
    page->granule = (i64)((u64)read_u32(p + 6) | ((u64)read_u32(p + 10) << 32));
    page->serial = read_u32(p + 14);
    page->sequence = read_u32(p + 18);
    page->crc = read_u32(p + OGG_CRC_AT);
    page->segment_count = p[26];
    if (size - offset - OGG_PAGE_HEADER_SIZE < page->segment_count) return false;
    page->body_size = 0;
    for (u32 i = 0; i < page->segment_count; i++) page->body_size += p[OGG_PAGE_HEADER_SIZE + i];
    return true;
}

static u64 page_size(const OggPage *page) { return OGG_PAGE_HEADER_SIZE + (u64)page->segment_count + page->body_size; }

u8 ogg_check_pages(const u8 *bytes, u64 size, OggStream *stream, u64 *at) {
    *stream = OggStream{};
    *at = 0;
    if (!bytes || size < 4 || memcmp(bytes, "OggS", 4) != 0) return OGG_NOT_OGG;
    u64 offset = 0;
    OggPage page = {};
    while (offset < size) {
        *at = offset;
        if (size - offset < 4) return OGG_CUT_SHORT;
        if (memcmp(bytes + offset, "OggS", 4) != 0) return OGG_LOST_CAPTURE;
        if (!read_page(bytes, size, offset, &page)) return OGG_CUT_SHORT;
        if (bytes[offset + 4] != 0) return OGG_BAD_VERSION;
        if (size - offset < page_size(&page)) return OGG_CUT_SHORT;
        if (ogg_page_crc(bytes + offset, page_size(&page)) != page.crc) return OGG_BAD_CRC;
        bool first = stream->page_count == 0;
        if (first != ((page.flags & OGG_FLAG_FIRST) != 0)) return first ? OGG_NOT_FIRST : OGG_OTHER_STREAM;
        if (first) stream->serial = page.serial;
        if (page.serial != stream->serial) return OGG_OTHER_STREAM;
        if (page.sequence != stream->page_count) return OGG_PAGE_MISSING;
        stream->page_count++;
        // -1 marks a page on which no packet ends.
        if (page.granule != -1) stream->last_granule = page.granule;
        offset += page_size(&page);
        // Pages after the stream's last belong to another one.
        if ((page.flags & OGG_FLAG_LAST) && offset < size) {
            *at = offset;
            return OGG_OTHER_STREAM;
        }
    }
    if (!(page.flags & OGG_FLAG_LAST)) return OGG_NO_END;
    return OGG_OK;
}

const char *ogg_error_text(u8 error) {
    switch (error) {
    case OGG_OK: return "it is a whole Ogg stream";
    case OGG_NOT_OGG: return "it is not an Ogg file";
    case OGG_LOST_CAPTURE: return "a page does not begin where the one before it ends";
    case OGG_BAD_VERSION: return "a page is of an Ogg version this program does not read";
    case OGG_CUT_SHORT: return "it is cut short inside a page";
    case OGG_BAD_CRC: return "a page is damaged (its checksum does not match)";
    case OGG_NOT_FIRST: return "its first page does not begin a stream";
    case OGG_OTHER_STREAM: return "it holds more than one stream";
    case OGG_PAGE_MISSING: return "a page is missing";
    case OGG_NO_END: return "it stops before the last page of its stream";
    default: return "it cannot be read";
    }
}

bool ogg_read_packet(const u8 *bytes, u64 size, u32 index, u8 *out, u64 capacity, u64 *length) {
    *length = 0;
    u32 packet = 0;
    u64 offset = 0;
    OggPage page;
    while (offset < size && read_page(bytes, size, offset, &page) && size - offset >= page_size(&page)) {
        const u8 *segments = bytes + offset + OGG_PAGE_HEADER_SIZE;
        const u8 *body = segments + page.segment_count;
        for (u32 i = 0; i < page.segment_count; i++) {
            u8 lacing = segments[i];
            if (packet == index) {
                u64 room = *length < capacity ? capacity - *length : 0;
                u64 n = lacing < room ? lacing : room;
                if (n) memcpy(out + *length, body, n);
                *length += lacing;
                if (lacing < 255) return true;
            } else if (lacing < 255) {
                packet++;
            }
            body += lacing;
        }
        offset += page_size(&page);
    }
    return false;
}
