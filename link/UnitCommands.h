#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "link/Framing.h"
#include "link/MenuDataCommands.h"
#include "link/ParameterCommands.h"
#include "model/PanelModel.h"
#include "protocol/ReplyKinds.h"

// Finding a unit and learning its state, and the few texts and replies carried between the
// panel and a unit. Every command returns a Status and, apart from IdentifyUnit, talks to
// the selected unit g_currentUnitAddress.

constexpr int kVersionInfoSize = 255;
constexpr int kPanelKeysSize = 27;

// The presence test. `status` is zeroed first and holds the first 12 answer bytes only when
// code 40 came back. Ok; WriteFailed for another code; the framing status otherwise.
Status IdentifyUnit(uint8_t unitAddress, UnitStatus& status);
// IdentifyUnit of the selected unit into g_unitStatus, as the panel sends it.
Status IdentifySelectedUnit();
// IdentifySelectedUnit repeated until a unit answers with code 40, at most `attempts` times.
// Returns the last result.
Status IdentifySelectedUnitRepeatedly(int attempts);

// B6: the settings text, from data 2 up to the first zero byte (or the end of the data).
// Ok or WrongCode; `text` is changed only on success.
Status ReadSettingsLabel(std::string& text);
// B5: the unit's message text into g_unitMessage. Ok or WrongCode.
Status ReadUnitMessage();
// 9E: the panel's reply of `kind` with `value`. Ok or WrongCode.
Status SendUnitReply(ReplyKind kind, uint8_t value);
// AB: the unit's answer data copied into `info`, zero past the data; any code is accepted.
// Ok, or the framing status with `info` all zero.
Status ReadVersionInfo(std::span<uint8_t, kVersionInfoSize> info);
// Relays another controller's packet (byte 1 is L, then L payload bytes; a checksum after
// them is not sent on) to the selected unit with a fresh checksum, and copies the whole
// answer buffer into `answer`. On a failed exchange `answer` stays zero. WriteFailed, with
// nothing sent, for a packet shorter than its L says; else the exchange's status.
Status RelayPacket(std::span<const uint8_t> packet, AnswerBuffer& answer);
// No request brings the panel keys: clears g_panelKeys and returns WriteFailed.
Status ReadPanelKeys();
