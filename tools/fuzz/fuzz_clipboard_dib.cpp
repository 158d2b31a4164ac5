// libFuzzer target for turning a clipboard bitmap block (a DIB, or one with a
// version-5 header) into BMP file bytes.  The block is handed over in an
// allocation of exactly its size.
#include <stdlib.h>
#include <string.h>

#include "os/clipboard.h"
#include "os/memory.h"

static u32 read_u32(const char *p) {
    const u8 *b = (const u8 *)p;
    return (u32)b[0] | (u32)b[1] << 8 | (u32)b[2] << 16 | (u32)b[3] << 24;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    u8 *block = (u8 *)malloc(size ? size : 1);
    memcpy(block, data, size);
    ClipboardData bmp = os_bmp_from_dib(block, size);
    if (bmp.len) {
        // A file header, then the whole block, cut where the file says it ends;
        // the pixel offset lies within header and block.
        if (bmp.len < 14 + 40 || bmp.len > size + 14 || bmp.data[0] != 'B' || bmp.data[1] != 'M') abort();
        if (bmp.data[bmp.len] != 0 || memcmp(bmp.data + 14, block, bmp.len - 14) != 0) abort();
        if (read_u32(bmp.data + 10) > size + 14 || read_u32(bmp.data + 2) < bmp.len) abort();
    } else if (bmp.data) {
        abort();
    }
    os_free_clipboard_data(&bmp);
    free(block);
    return 0;
}
