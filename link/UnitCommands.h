#pragma once

#include <cstdint>
#include <string>

#include "link/Framing.h"
#include "link/MenuDataCommands.h"
#include "link/ParameterCommands.h"
#include "model/PanelModel.h"

// Finding a unit and learning its state, and the few texts and replies carried between the
// panel and a unit. Every command returns a status (Framing.h) and, apart from IdentifyUnit,
// talks to the selected unit g_currentUnitAddress.

constexpr uint8_t kCodeIdentify = 0x40;
constexpr uint8_t kCodeSettingsLabel = 0x00;
constexpr uint8_t kCodeUnitMessage = 0x21;
constexpr uint8_t kCodeUnitReply = 0x05;

// Kinds of SendUnitReply.
constexpr uint8_t kReplyQuestionAnswer = 11;  // value 1 OK, 2 Cancel
constexpr uint8_t kReplyEffectsMessage = 20;

constexpr int kVersionInfoSize = 255;
constexpr int kPanelKeysSize = 27;

// The presence test. `status` is zeroed first and holds the first 12 answer bytes only when
// code 40 came back. 0; 4 for another code; the framing status otherwise.
int IdentifyUnit(uint8_t unitAddress, UnitStatus& status);
// IdentifyUnit of the selected unit into g_unitStatus, as the panel sends it.
int IdentifySelectedUnit();
// IdentifySelectedUnit repeated until a unit answers with code 40, at most `attempts` times.
// Returns the last result.
int IdentifySelectedUnitRepeatedly(int attempts);

// B6: the settings text, from data 2 up to the first zero byte (or the end of the data).
// 0 or 6; `text` is changed only on success.
int ReadSettingsLabel(std::string& text);
// B5: the unit's message text into g_unitMessage. 0 or 6.
int ReadUnitMessage();
// 9E: the panel's reply of `kind` with `value`. 0 or 6.
int SendUnitReply(uint8_t kind, uint8_t value);
// AB: the unit's answer data copied into `info` (255 bytes), zero past the data; any code is
// accepted. 0, or the framing status with `info` all zero.
int ReadVersionInfo(uint8_t* info);
// Relays another controller's packet (byte 1 is L, then L payload bytes and its old checksum,
// so at least L + 3 bytes) to the selected unit with a fresh checksum, and copies the whole
// 258-byte answer buffer into `answer`. On a failed exchange `answer` stays zero. Returns the
// exchange's status.
int RelayPacket(const uint8_t* packet, uint8_t* answer);
// No request brings the panel keys: clears g_panelKeys and returns 4.
int ReadPanelKeys();
