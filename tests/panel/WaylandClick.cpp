// SPDX-License-Identifier: GPL-3.0-or-later
// A mouse click at a point of a wlroots desktop, as a user's pointer makes it: through the
// compositor's virtual pointer, so the click reaches whatever lies there (waybar's tray, a native
// window, an XWayland one) and the compositor moves the keyboard as it does for a real mouse.
// Headless sway has no input devices of its own.
//
//   wayland-click X Y LAYOUT_WIDTH LAYOUT_HEIGHT [BUTTON]   (BUTTON: evdev code, 272 = left)
//
// Exits 0 when the click was sent, 2 without a compositor, 3 when it offers no virtual pointer.

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

wl_seat* seat = nullptr;
zwlr_virtual_pointer_manager_v1* manager = nullptr;

void global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !seat)
        seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
}

void globalRemoved(void*, wl_registry*, uint32_t)
{}

const wl_registry_listener registryListener{global, globalRemoved};

uint32_t nowMs()
{
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// The clients under the pointer need a moment to take its entry before the button, as they get
// one from a hand on a mouse; a press that comes with the motion is lost on some toolkits (GTK).
void pause(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 5) {
        std::fputs("usage: wayland-click X Y LAYOUT_WIDTH LAYOUT_HEIGHT [BUTTON]\n", stderr);
        return 1;
    }
    const auto x = uint32_t(std::atoi(argv[1]));
    const auto y = uint32_t(std::atoi(argv[2]));
    const auto width = uint32_t(std::atoi(argv[3]));
    const auto height = uint32_t(std::atoi(argv[4]));
    const auto button = uint32_t(argc > 5 ? std::atoi(argv[5]) : 272);
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fputs("wayland-click: no Wayland compositor\n", stderr);
        return 2;
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, nullptr);
    wl_display_roundtrip(display);
    if (!manager) {
        std::fputs("wayland-click: the compositor offers no virtual pointer\n", stderr);
        wl_display_disconnect(display);
        return 3;
    }
    zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
    wl_display_roundtrip(display);
    // A new pointer device makes the clients bind their pointers first.
    pause(300);
    zwlr_virtual_pointer_v1_motion_absolute(pointer, nowMs(), x, y, width, height);
    zwlr_virtual_pointer_v1_frame(pointer);
    wl_display_roundtrip(display);
    pause(200);
    for (const uint32_t state :
         {WL_POINTER_BUTTON_STATE_PRESSED, WL_POINTER_BUTTON_STATE_RELEASED}) {
        zwlr_virtual_pointer_v1_button(pointer, nowMs(), button, state);
        zwlr_virtual_pointer_v1_frame(pointer);
        wl_display_roundtrip(display);
        pause(80);
    }
    pause(200);
    zwlr_virtual_pointer_v1_destroy(pointer);
    zwlr_virtual_pointer_manager_v1_destroy(manager);
    if (seat)
        wl_seat_destroy(seat);
    wl_registry_destroy(registry);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
