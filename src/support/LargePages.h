#pragma once

#include <cstddef>

// Asks the kernel to back a large buffer that is about to be filled with huge
// pages. Where every page fault is costly, as on some virtual machines, filling
// ten megabytes of fresh 4 KiB pages costs tens of milliseconds; a 2 MiB page
// costs one fault. Only whole huge pages inside the buffer's mapping can be
// used; a kernel without the feature ignores the request, and a small buffer
// is left alone.
void preferHugePages(void *data, std::size_t bytes);

// Lets the process keep large buffers and freed memory in its heap instead of
// mapping each large buffer afresh and handing freed memory straight back:
// opening one large stylesheet after another then reuses the pages the last
// one had, where fresh ones would each be faulted in again. Called once, first
// thing in main.
void keepFreedMemory();
