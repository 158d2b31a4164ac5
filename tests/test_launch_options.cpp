// The command line: how it splits, and which option lists the program accepts.
#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "game/launch_options.h"
#include "os/memory.h"
#include "os/system.h"

static Str str_of(const char *s) { return str_from_cstr(s); }

static std::vector<std::string> split(Str line) {
    Str args[8] = {};
    u32 n = split_command_line(line, args, 8);
    std::vector<std::string> out;
    for (u32 i = 0; i < n && i < 8; i++) {
        out.emplace_back(args[i].data, args[i].len);
        os_free((void *)args[i].data);
    }
    return out;
}

static std::vector<std::string> split(const char *line) { return split(str_of(line)); }

TEST_CASE("the command line splits by the Windows rules, the program's own name left out") {
    using V = std::vector<std::string>;
    CHECK(split("") == V{});
    CHECK(split("fathomer.exe") == V{});
    CHECK(split("\"C:\\Program Files\\Fathomer\\fathomer.exe\"") == V{});
    CHECK(split("\"C:\\Games\\fathomer.exe\" --record run.rec") == V{"--record", "run.rec"});
    CHECK(split("C:\\Games\\fathomer.exe  \t--replay   \"my runs\\first run.rec\"  --fast") ==
          V{"--replay", "my runs\\first run.rec", "--fast"});
    // In the name quotes only group, wherever they stand, and a backslash
    // before one is a path separator; a line that starts with a blank has an
    // empty name.
    CHECK(split("C:\\\"my games\"\\f.exe --fast") == V{"--fast"});
    CHECK(split("\"C:\\my games\\\" --fast") == V{"--fast"});
    CHECK(split(" --fast x") == V{"--fast", "x"});
    // Backslashes escape only quotes; "" inside quotes is one quote.
    CHECK(split("f a\\\\b \"c\\\"d\" e\\\\\\\"f \"g\"\"h\"") == V{"a\\\\b", "c\"d", "e\\\"f", "g\"h"});
    CHECK(split("f \"open quote to the end") == V{"open quote to the end"});
    CHECK(split("f \"\"") == V{""});
    // More than fit are counted, and only the first stored.
    Str args[2] = {};
    CHECK(split_command_line(str_of("f a b c"), args, 2) == 3);
    os_free((void *)args[0].data);
    os_free((void *)args[1].data);
    CHECK(split_command_line(Str{0, nullptr}, args, 2) == 0);
}

TEST_CASE("arguments written into a command line split back whole, whatever they hold") {
    using V = std::vector<std::string>;
    // Each list as a process's arguments, its program's name first.
    const V lists[] = {
        {"/usr/games/fathomer", "--record", "My Games/run one.rec"},
        {"/home/me/my games/fathomer", "tab\there", "\t", " lead", "trail "},
        {"f", "say \"hi\"", "\"", "\"\"", "a\"b"},
        {"f", "a\\\"b", "a\\\\\"b", "a\\\\\\\"b", "c:\\dir\\", "c:\\my dir\\", "\\\\", "a\\b"},
        {"f", "", "x", "", ""},
        {"/home/j\xC3\xB6rg/Spiele/fathomer", "--replay", "Spiele/L\xC3\xA4ufe \xC3\xB6.rec", "\xE6\x97\xA5\xE6\x9C\xAC"},
        {"/tmp/a \"quoted\" dir/f", "--fast"},
        {"/tmp/a\"b/f", "--fast"},
        {"C:\\my games\\", "x y"},
        {"", "x"},
        {"f"},
    };
    for (const V &list : lists) {
        std::string listed;
        for (const std::string &a : list) listed.append(a).push_back('\0');
        Str line = os_command_line_from_arguments(listed.data(), listed.size());
        REQUIRE(line.data != nullptr);
        CAPTURE(std::string(line.data, line.len));
        CHECK(line.data[line.len] == 0);
        CHECK(split(line) == V(list.begin() + 1, list.end()));
        os_free((void *)line.data);
    }
    // The last argument may lack its NUL, and no arguments give an empty line.
    Str line = os_command_line_from_arguments("f\0a b", 5);
    CHECK(split(line) == V{"a b"});
    os_free((void *)line.data);
    line = os_command_line_from_arguments("", 0);
    REQUIRE(line.data != nullptr);
    CHECK(line.len == 0);
    os_free((void *)line.data);
}

static LaunchOptions parse_ok(const char *line) {
    LaunchOptions o;
    const char *error = "unset";
    CHECK(parse_launch_options(str_of(line), &o, &error));
    CHECK(error == nullptr);
    return o;
}

static std::string parse_error(const char *line) {
    LaunchOptions o;
    const char *error = nullptr;
    CHECK_FALSE(parse_launch_options(str_of(line), &o, &error));
    CHECK(o.mode == LAUNCH_PLAY);
    CHECK(o.file.data == nullptr);
    return error ? error : "";
}

TEST_CASE("options: none plays, --record and --replay take a file, --fast goes with --replay") {
    LaunchOptions o = parse_ok("fathomer");
    CHECK(o.mode == LAUNCH_PLAY);
    CHECK_FALSE(o.fast);
    CHECK(o.file.data == nullptr);

    o = parse_ok("fathomer --record \"a b.rec\"");
    CHECK(o.mode == LAUNCH_RECORD);
    CHECK(std::string(o.file.data) == "a b.rec");
    os_free((void *)o.file.data);

    o = parse_ok("fathomer --replay a.rec");
    CHECK(o.mode == LAUNCH_REPLAY);
    CHECK_FALSE(o.fast);
    os_free((void *)o.file.data);

    o = parse_ok("fathomer --fast --replay a.rec");
    CHECK(o.mode == LAUNCH_REPLAY);
    CHECK(o.fast);
    CHECK(std::string(o.file.data) == "a.rec");
    os_free((void *)o.file.data);
}

TEST_CASE("options that cannot be used are named, and nothing is started") {
    CHECK(parse_error("fathomer --play") == "unknown argument");
    CHECK(parse_error("fathomer a.rec") == "unknown argument");
    CHECK(parse_error("fathomer --record") == "--record needs a file name");
    CHECK(parse_error("fathomer --replay \"\"") == "--replay needs a file name");
    CHECK(parse_error("fathomer --replay --fast") == "--replay needs a file name");
    CHECK(parse_error("fathomer --record a --replay b") == "give either --record or --replay, once");
    CHECK(parse_error("fathomer --replay a --replay b") == "give either --record or --replay, once");
    CHECK(parse_error("fathomer --fast") == "--fast goes with --replay FILE");
    CHECK(parse_error("fathomer --record a --fast") == "--fast goes with --replay FILE");
    CHECK(parse_error("fathomer --replay a --fast --fast") == "--fast is given twice");
    CHECK(parse_error("fathomer a b c d e f g h i") == "too many arguments");
}
