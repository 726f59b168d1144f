#pragma once

// Reading a picture waits on disks and networks, decoding it on processors. The
// scan reads many files at once, so that their waits overlap, but each thread
// takes a turn before it decodes a full picture: at most one such decode per
// processor runs at a time, so they do not crowd each other nor the window's
// thread. (A thumbnail's decode is shorter than waiting for a turn.)
class DecodeTurn
{
  public:
    DecodeTurn();  // waits for a free turn
    ~DecodeTurn(); // gives it back

    DecodeTurn(const DecodeTurn &) = delete;
    DecodeTurn &operator=(const DecodeTurn &) = delete;

    // How many turns there are: one per processor.
    static int count();
};
