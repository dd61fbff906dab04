#pragma once

#include <cstdint>
#include <string>

#include "link/StorageTables.h"

// The unit's stored files: list a directory, save the unit's present state as a file, load
// and delete files, copy a file's data from the selected unit to another unit, and make a
// unit rebuild its file system. Each returns a status (Framing.h).

constexpr uint16_t kNewFileId = 0xFFFF;
constexpr int kFileChunkSize = 250;

// Custom-menu block of a user-directory file: four blocks of 50 bytes for custom menus 1..4
// and one zero byte.
constexpr int kCustomMenuBlockSize = 50;
constexpr int kCustomMenuBlocks = 4;
constexpr int kCustomMenuBodySize = kCustomMenuBlocks * kCustomMenuBlockSize + 1;  // 201
constexpr int kBlockKnobOffset = 2;       // 8 knob parameter numbers
constexpr int kBlockFunctionOffset = 22;  // 6 function offsets

// C2/C3 then C6/C7: refills the kind's directory. 0; 3 when the first answer's L is not 1 or
// the unit sends more than 100 entries (the first 100 are kept); 6 on a wrong code.
int ReadFileList(FileKind kind);

// CC/CD: saves the unit's present state under `name` (at most 23 characters are sent) as file
// `fileId` (kNewFileId for a new one). `saveContext` is the menu the unit shows. A user-
// directory file carries custom menus 1..4 of the selected unit. Framing status only.
int WriteFileEntry(uint16_t fileId, const std::string& name, uint8_t saveContext, FileKind kind);

// 93/99: recalls file `fileIdLow`. A user-directory file restores custom menus 1..4 of the
// selected unit from the answer. 0; 6 on a wrong code; 3 when a user-directory answer is too
// short to hold the four custom-menu blocks (nothing is restored).
int LoadFile(FileKind kind, uint8_t fileIdLow);

// BE/BF: deletes a file. 0; 6.
int DeleteFile(FileKind kind, uint16_t fileId);

// 92 then 8E: the file's bytes into g_transferBuffer. 0; 3; 6. A failure after the first
// answer leaves the buffer filled as far as it got; a file longer than the buffer keeps what
// fits and gives 3. Any failure leaves the buffer marked incomplete, so that neither part of
// this file nor the file read before is sent on.
int ReadFileData(uint8_t fileIdLow);

// To unit `targetAddress`: IdentifyUnit, 91 FF, 100 ms, then g_transferBuffer in chunks of
// 250 bytes (8F), each answered with 1B or 00. 0; 6; the framing status of a failed chunk;
// 3, sending nothing, when the buffer does not hold a whole file (its read failed).
int WriteFileData(uint8_t targetAddress);

// To unit `unitAddress`: IdentifyUnit, then EA answered with 1B after the rebuild. A unit
// that does not identify is left alone and counts as done (0). 0; 6; framing status.
int UpdateFileSystem(uint8_t unitAddress);
// The same with a patience of `answerTries` reads of up to 20 ms for the rebuild's answer.
int UpdateFileSystem(uint8_t unitAddress, uint32_t answerTries);

// The 201-byte custom-menu body of a user-directory save for unit slot `unit`.
std::array<uint8_t, kCustomMenuBodySize> CustomMenuBody(int unit);
// Restores custom menus 1..4 of unit slot `unit` from the data of a load answer (data 0 on).
// A function byte FF becomes 127, the empty button.
void RestoreCustomMenus(int unit, std::span<const uint8_t> data);
