#pragma once

// Lets the C library keep freed memory for the next picture instead of giving it back to the
// system at once. Call once, first thing in a program that lists folders.
void keepFreedHeapForReuse();
