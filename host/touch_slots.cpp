// TouchSlots: ten numbers, each held by at most one finger.
#include "host/touch_slots.h"

int TouchSlots::Down(long finger) {
    if (Find(finger) >= 0) return -1;
    for (int slot = 0; slot < kSlots; ++slot) {
        if (taken_[slot]) continue;
        taken_[slot] = true;
        fingers_[slot] = finger;
        return slot;
    }
    return -1;
}

int TouchSlots::Find(long finger) const {
    for (int slot = 0; slot < kSlots; ++slot)
        if (taken_[slot] && fingers_[slot] == finger) return slot;
    return -1;
}

int TouchSlots::Up(long finger) {
    int slot = Find(finger);
    if (slot >= 0) taken_[slot] = false;
    return slot;
}
