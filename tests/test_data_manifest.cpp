// The data check: data in another form stands in for the generated files it
// was made from only while its manifest describes it, and other data is
// still told apart.
#include <doctest/doctest.h>

#include <string.h>

#include <filesystem>
#include <string>

#include "game/data_checksum.h"
#include "game/data_digest.h"
#include "game/data_manifest.h"
#include "tests/file_test_support.h"

static std::string manifest_text(u64 made_from, u64 contents) {
    DataManifest m = {made_from, contents};
    char text[DATA_MANIFEST_TEXT_MAX];
    u32 n = data_manifest_text(&m, text);
    REQUIRE(n <= DATA_MANIFEST_TEXT_MAX);
    return std::string(text, n);
}

TEST_CASE("a manifest reads back what was written, and any other text is refused") {
    std::string text = manifest_text(0x0123456789ABCDEFull, 0xFEDCBA9876543210ull);
    CHECK(text == "Fathomer game data in another form\nmade from 0123456789ABCDEF\ncontents FEDCBA9876543210\n");
    DataManifest m = {};
    REQUIRE(data_manifest_parse((const u8 *)text.data(), text.size(), &m));
    CHECK(m.made_from == 0x0123456789ABCDEFull);
    CHECK(m.contents == 0xFEDCBA9876543210ull);

    std::string changed[] = {
        text.substr(0, text.size() - 1),                    // no last line end
        text + "\n",                                        // something after it
        text.substr(0, 45) + "g" + text.substr(46),         // not a digit
        text.substr(0, 45) + "a" + text.substr(46),         // lower case
        "Fathomer game data\n" + text.substr(35),           // another title
        std::string(),
    };
    for (const std::string &bad : changed) {
        CAPTURE(bad);
        CHECK_FALSE(data_manifest_parse((const u8 *)bad.data(), bad.size(), &m));
    }
}

// A data directory holding only some of the files: the checksum counts the
// others as missing, as it does for the real data.
static std::string make_data(const char *name) {
    std::string dir = scratch_dir(name);
    std::filesystem::create_directories(fs_path(dir + "img"));
    std::filesystem::create_directories(fs_path(dir + "audio"));
    write_raw(dir + "img/default.png", "picture");
    write_raw(dir + "audio/music0.wav", std::string(1000, 'w'));
    return dir;
}

TEST_CASE("data with a manifest that describes it carries the checksum of the files it was made from") {
    std::string desktop = make_data("data_desktop");
    GameDataCheck own = check_game_data(S(desktop));
    CHECK(own.kind == GAME_DATA_OWN);
    CHECK(own.checksum == own.own);
    CHECK(own.own == game_data_checksum(S(desktop)));

    // The web form: the music as Ogg Vorbis in place of its WAV file.
    std::string web = make_data("data_web");
    std::filesystem::remove(fs_path(web + "audio/music0.wav"));
    write_raw(web + "audio/music0.ogg", std::string(100, 'o'));
    u64 web_own = game_data_checksum(S(web));
    CHECK(web_own != own.own);
    write_raw(web + DATA_MANIFEST_FILE, manifest_text(own.own, web_own));
    GameDataCheck stands_in = check_game_data(S(web));
    CHECK(stands_in.kind == GAME_DATA_STANDS_IN);
    CHECK(stands_in.checksum == own.own);
    CHECK(stands_in.own == web_own);

    // A changed file, whether the Ogg one or another, is no longer what the
    // manifest describes: the data is then only itself.
    write_raw(web + "audio/music0.ogg", std::string(100, 'p'));
    GameDataCheck changed = check_game_data(S(web));
    CHECK(changed.kind == GAME_DATA_MANIFEST_WRONG);
    CHECK(changed.checksum == changed.own);
    CHECK(changed.checksum != own.own);
    write_raw(web + "audio/music0.ogg", std::string(100, 'o'));
    write_raw(web + "img/default.png", "picturf");
    CHECK(check_game_data(S(web)).kind == GAME_DATA_MANIFEST_WRONG);
    write_raw(web + "img/default.png", "picture");
    CHECK(check_game_data(S(web)).kind == GAME_DATA_STANDS_IN);

    write_raw(web + DATA_MANIFEST_FILE, "made from anything");
    CHECK(check_game_data(S(web)).kind == GAME_DATA_MANIFEST_WRONG);
    CHECK(check_game_data(S(web)).checksum == web_own);
}

TEST_CASE("an Ogg Vorbis file counts only where the WAV file is absent, under its own name") {
    std::string dir = make_data("data_both");
    u64 wav_only = game_data_checksum(S(dir));
    write_raw(dir + "audio/music0.ogg", "ogg");
    CHECK(game_data_checksum(S(dir)) == wav_only);

    std::filesystem::remove(fs_path(dir + "audio/music0.wav"));
    u64 ogg_only = game_data_checksum(S(dir));
    std::filesystem::remove(fs_path(dir + "audio/music0.ogg"));
    u64 neither = game_data_checksum(S(dir));
    CHECK(ogg_only != wav_only);
    CHECK(ogg_only != neither);
    // The same bytes under the WAV's name would not give the Ogg file's sum.
    write_raw(dir + "audio/music0.wav", "ogg");
    CHECK(game_data_checksum(S(dir)) != ogg_only);
}
