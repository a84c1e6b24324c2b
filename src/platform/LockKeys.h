#pragma once

#include <optional>

// The states of the Caps Lock, Num Lock and Scroll Lock keys, as the keyboard's indicator lights
// show them. Unknown (nullopt) where the system does not tell.
struct LockKeyStates {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

namespace LockKeys {

// Reads the keyboard indicator lights: from the X server when the program runs on X11, else from
// the kernel (/sys/class/leds/*::capslock and so on). Gives nullopt when no indicator is visible,
// for example offscreen or in a container.
std::optional<LockKeyStates> read();

} // namespace LockKeys
