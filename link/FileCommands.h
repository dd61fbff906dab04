#pragma once

#include <cstdint>
#include <string>

#include "link/StorageTables.h"
#include "protocol/Files.h"
#include "protocol/Status.h"

// The unit's stored files: list a directory, save the unit's present state as a file, load
// and delete files, copy a file's data from the selected unit to another unit, and make a
// unit rebuild its file system. Each returns a Status.

constexpr int kFileChunkSize = 250;

// C2/C3 then C6/C7: refills the kind's directory. Ok; WrongLength when the first answer's L
// is not 1 or the unit sends more than 100 entries (the first 100 are kept); WrongCode on a
// wrong code.
Status ReadFileList(FileKind kind);

// CC/CD: saves the unit's present state under `name` (at most 23 characters are sent) as file
// `fileId` (kNewFileId for a new one). `saveContext` is the menu the unit shows. A user-
// directory file carries custom menus 1..4 of the selected unit. Framing status only.
Status WriteFileEntry(uint16_t fileId, const std::string& name, uint8_t saveContext, FileKind kind);

// 93/99: recalls file `fileIdLow`. A user-directory file restores custom menus 1..4 of the
// selected unit from the answer. Ok; WrongCode on a wrong code; WrongLength when a
// user-directory answer is too short to hold the four custom-menu blocks (nothing is
// restored).
Status LoadFile(FileKind kind, uint8_t fileIdLow);

// BE/BF: deletes a file. Ok; WrongCode.
Status DeleteFile(FileKind kind, uint16_t fileId);

// 92 then 8E: the file's bytes into g_transferBuffer. Ok; WrongLength; WrongCode. A failure
// after the first answer leaves the buffer filled as far as it got; a file longer than the
// buffer keeps what fits and gives WrongLength. Any failure leaves the buffer marked
// incomplete, so that neither part of this file nor the file read before is sent on.
Status ReadFileData(uint8_t fileIdLow);

// To unit `targetAddress`: IdentifyUnit, 91 FF, 100 ms, then g_transferBuffer in chunks of
// 250 bytes (8F), each answered with 1B or 00. Ok; WrongCode; the framing status of a failed
// chunk; WrongLength, sending nothing, when the buffer does not hold a whole file (its read
// failed).
Status WriteFileData(uint8_t targetAddress);

// To unit `unitAddress`: IdentifyUnit, then EA answered with 1B after the rebuild. A unit
// that does not identify is left alone and counts as done (Ok). Ok; WrongCode; framing
// status.
Status UpdateFileSystem(uint8_t unitAddress);

// The 201-byte custom-menu body of a user-directory save for unit slot `unit`.
std::array<uint8_t, kCustomMenuBodySize> CustomMenuBody(int unit);
// Restores custom menus 1..4 of unit slot `unit` from the data of a load answer (data 0 on).
// A function byte FF becomes 127, the empty button.
void RestoreCustomMenus(int unit, std::span<const uint8_t> data);
