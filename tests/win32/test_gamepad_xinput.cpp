// XInput under a system with no pad: the library loads, every slot answers
// that nothing is there, and the pump delivers nothing and logs nothing.
#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "os/backend.h"
#include "os/gamepad.h"
#include "tests/stdout_capture.h"

static std::vector<WindowEvent> seen;

static void keep(WindowEvent *event) { seen.push_back(*event); }

TEST_CASE("without a pad, XInput's pump changes nothing and says nothing") {
    seen.clear();
    os_set_event_callback(keep);
    capture_stdout_begin();
    for (int i = 0; i < 30; i++) os_pump_messages();
    std::string said = capture_stdout_end();
    os_set_event_callback(nullptr);
    CHECK(seen.empty());
    CHECK(said.empty());
    for (u8 pad = 0; pad < GAMEPAD_COUNT; pad++) CHECK_FALSE(os_gamepad_connected(pad));
}
