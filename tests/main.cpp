#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest/doctest.h>

#include "tests/test_platform.h"

int main(int argc, char **argv) {
    doctest::Context context(argc, argv);
    return test_program_end(context.run());
}
