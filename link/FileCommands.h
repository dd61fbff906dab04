#pragma once

#include <cstdint>
#include <string>

#include "link/Patience.h"
#include "link/StorageTables.h"
#include "protocol/Files.h"
#include "protocol/Status.h"

// The unit's stored files: list a directory, save the unit's present state as a file, load
// and delete files, copy a file's data from the selected unit to another unit, and make a
// unit rebuild its file system. Each returns a Status (protocol/Status.h), named here by number: 0
// success, 3 a list or answer of the wrong size, 6 an answer with a code the command does not
// accept; 1, 4, 102 and 103 come from a failed exchange (no answer, request not written, answer cut
// before its length or code). Main files use the first command byte of each pair below, user files
// the second.

constexpr int kFileChunkSize = 250;

// Refills the kind's directory: sends C2/C3 alone, which the unit answers with code 00 and no
// data, then C6/C7 alone again and again, each answer (43 more, 44 last for main files; 45,
// 46 for user files) carrying the next 28-byte entries. 0 when the whole directory came; 3
// when the first answer's L is not 1, or the unit sends more than 100 entries (the first 100
// are stored) or more than kMaxListAnswers answers; 6 for another code; else the failed
// exchange's status. Apart from a list cut at 100 entries, a failed read leaves the directory
// as it was.
Status ReadFileList(FileKind kind);

// Saves the unit's present state as file `fileId` (kNewFileId for a new one) under `name`:
// sends CC/CD, the id high and low, 00, `saveContext` (the menu the unit shows), then the
// first 23 characters of `name`: for a main file followed by a zero byte, for a user file
// zero-padded to 24 bytes and followed by the 201-byte custom-menu body of the selected unit.
// The answer code is not examined: 0 after any answer, else the failed exchange's status.
Status WriteFileEntry(uint16_t fileId, const std::string& name, uint8_t saveContext, FileKind kind);

// Recalls the file whose id has the low byte `fileIdLow`: sends 93/99 and `fileIdLow`. 0 when
// the unit answers with code 1D/24; a user file's answer then restores custom menus 1..4 of
// the selected unit. 6 for another code; 3 when a user file's answer is too short to hold the
// four custom-menu blocks (nothing is restored); else the failed exchange's status.
Status LoadFile(FileKind kind, uint8_t fileIdLow);

// Deletes file `fileId`: sends BE/BF and the id high and low. 0 when the unit answers with
// code 1B/22; 6 for another code; else the failed exchange's status.
Status DeleteFile(FileKind kind, uint16_t fileId);

// Reads the bytes of the file whose id has the low byte `fileIdLow` into g_transferBuffer:
// sends 92 and `fileIdLow`, which the unit answers with code 00 and no data, then 8E and
// `fileIdLow` again and again, each answer (18 more, 19 last) carrying the next part. 0 when
// the whole file came; 3 when the first answer's L is not 1, the file is longer than the
// buffer (what fits is kept) or more than kMaxListAnswers answers came; 6 for another code;
// else the failed exchange's status. A failure after the first answer leaves the buffer
// filled as far as it got. Any failure leaves the buffer marked incomplete, so that neither
// part of this file nor the file read before is sent on.
Status ReadFileData(uint8_t fileIdLow);

// Copies g_transferBuffer to unit `targetAddress`: identifies the unit (the result does not
// matter), sends 91 FF and reads no answer, waits 100 ms, then sends 8F followed by the next
// 250 bytes (the rest in the last chunk; one empty chunk for an empty file) until every byte
// has gone. 0 when every chunk was answered with code 1B or 00; 6 when one was answered with
// another code; 3, sending nothing, when the buffer does not hold a whole file (its read
// failed); else the status of the failed start request or chunk exchange.
Status WriteFileData(uint8_t targetAddress);

// Makes unit `unitAddress` rebuild its file system: identifies it, then sends EA alone and
// waits up to five minutes (kPatience5min) for the answer, which comes when the rebuild is
// done. A unit that does not identify is left alone and counts as done (0). 0 when the answer
// carries code 1B; 6 for another code; else the failed exchange's status.
Status UpdateFileSystem(uint8_t unitAddress);

// The 201-byte custom-menu body of a user-directory save for unit slot `unit`.
std::array<uint8_t, kCustomMenuBodySize> CustomMenuBody(int unit);
// Restores custom menus 1..4 of unit slot `unit` from the data of a load answer (data 0 on).
// A function byte FF becomes 127, the empty button.
void RestoreCustomMenus(int unit, std::span<const uint8_t> data);
