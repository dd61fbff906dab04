#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

// What the fuzz targets run on one input, shared with the corpus replay in the tests. Each
// call opens the link on an in-process line of its own on a virtual clock and leaves the
// program-wide state clean behind it. Returns false when an invariant of the tables broke.
// `inspect`, when given, sees the tables before they are cleaned up (for tests).

// Byte 0 picks the unit's model code and whether it answers the lock-out read and the
// identify that parsing sends; the remaining bytes are the menu image (cut at 64 KB).
bool FuzzMenuImage(const uint8_t* data, size_t size, const std::function<void()>& inspect = {});

// The input is a list of answers, each a big-endian length word and that many raw bytes, handed out
// one per request to every command that reads values, texts, lock-out tables or menu data; an
// exhausted list answers with a last menu-data chunk. Byte 0 also feeds ApplyParameterUpdates
// directly with the first answer as a buffer.
bool FuzzAnswers(const uint8_t* data, size_t size);
