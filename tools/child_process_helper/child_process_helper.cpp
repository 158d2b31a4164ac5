// A child for the process tests.
//   print N CODE  writes N letters (A to Z, repeating) in uneven pieces, exits with CODE
//   sleep MS      waits MS milliseconds, exits with 0
//   echo          copies standard input to standard output byte by byte until its end
//   arguments     writes the arguments behind this word, split back from the
//                 layer's command line, each ended by a NUL (a newline would
//                 gain a carriage return on Windows)
#include <chrono>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <thread>

#include "game/launch_options.h"
#include "os/memory.h"
#include "os/system.h"

int main(int argc, char **argv) {
    if (argc >= 4 && strcmp(argv[1], "print") == 0) {
        long total = atol(argv[2]);
        char piece[1500];
        long done = 0;
        for (int round = 0; done < total; round++) {
            long n = 700 + (round * 311) % 800;
            if (n > total - done) n = total - done;
            for (long i = 0; i < n; i++) piece[i] = (char)('A' + (done + i) % 26);
            fwrite(piece, 1, (size_t)n, stdout);
            fflush(stdout);
            done += n;
        }
        return atoi(argv[3]);
    }
    if (argc >= 3 && strcmp(argv[1], "sleep") == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(atol(argv[2])));
        return 0;
    }
    if (argc >= 2 && strcmp(argv[1], "echo") == 0) {
        int c;
        while ((c = getchar()) != EOF) {
            putchar(c);
            fflush(stdout);
        }
        return 0;
    }
    if (argc >= 2 && strcmp(argv[1], "arguments") == 0) {
        Str args[16];
        u32 count = split_command_line(os_get_command_line(), args, 16);
        for (u32 i = 0; i < count && i < 16; i++) {
            if (i > 0) fwrite(args[i].data, 1, args[i].len + 1, stdout);  // its NUL too
            os_free((void *)args[i].data);
        }
        return count > 16 ? 1 : 0;
    }
    fprintf(stderr, "usage: child_process_helper print N CODE | sleep MS | echo | arguments ...\n");
    return 2;
}
