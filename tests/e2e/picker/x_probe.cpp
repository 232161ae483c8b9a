// "Another program" for the picker's end-to-end script: takes Alt+Shift+S on
// the root with every lock variant and prints "held" (or "taken", exit 3, when
// a client has it), then "press" for every press it gets until it is killed.
// With the argument "pattern" it paints the root with a picture in which every
// pixel has its own colour (test::patternColor) and ends. With "ping WINDOW"
// it ends with 0 when the window's client answers a ping within 2 s, else 4.
#include "x_client.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

int main(int argc, char *argv[])
{
    tintavo::test::XClient x;
    if (!x.ok())
        return 2;
    if (argc > 1 && std::strcmp(argv[1], "pattern") == 0) {
        x.showPattern();
        return 0;
    }
    if (argc > 2 && std::strcmp(argv[1], "ping") == 0)
        return x.answersPing(std::strtoul(argv[2], nullptr, 0), 2000) ? 0 : 4;
    for (quint16 lock : x.lockVariants()) {
        if (x.grabKey(XCB_MOD_MASK_1 | XCB_MOD_MASK_SHIFT | lock, x.keycodeFor('s')) != 0) {
            std::puts("taken");
            return 3;
        }
    }
    std::puts("held");
    for (;;) {
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        for (int presses = x.takeKeyPresses(); presses > 0; --presses)
            std::puts("press");
    }
}
