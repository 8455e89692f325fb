// The fingers on a touch screen as the game's touch numbers: a finger takes
// the lowest number free when it goes down and keeps it while it stays down,
// so fingers are numbered in the order they went down and a second finger
// stays touch 1 when the first lifts.
#pragma once

class TouchSlots {
  public:
    static constexpr int kSlots = 10;

    // The number a finger going down takes; -1 when ten are down already, or
    // when this finger is down already.
    int Down(long finger);
    // The number of a finger that is down, or -1.
    int Find(long finger) const;
    // The number a lifted finger gives back, or -1 when it had none.
    int Up(long finger);

  private:
    long fingers_[kSlots] = {};
    bool taken_[kSlots] = {};
};
