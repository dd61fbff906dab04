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
// panel and a unit. Every command returns a status (Framing.h) and, apart from IdentifyUnit,
// talks to the selected unit g_currentUnitAddress. Statuses: 0 success, 6 an answer with
// another code than expected; 1, 4, 102 and 103 come from a failed exchange (no answer,
// request not written, answer cut before its length or code).

constexpr int kVersionInfoSize = 255;
constexpr int kPanelKeysSize = 27;

// The presence test of unit `unitAddress`: sends C0 alone and waits up to 10 reads (about
// 200 ms). `status` is zeroed first and holds the first 12 answer bytes only when code 40
// came back. 0 for code 40; 4, not 6, for another code; else the failed exchange's status
// (Yielded for a presence poll that gave the line up to the user).
Status IdentifyUnit(uint8_t unitAddress, UnitStatus& status, LineUse use = LineUse::Ordinary);
// IdentifyUnit of the selected unit into g_unitStatus, as the panel sends it.
Status IdentifySelectedUnit();
// IdentifySelectedUnit repeated until a unit answers with code 40, at most `attempts` times.
// Returns the last result.
Status IdentifySelectedUnitRepeatedly(int attempts);

// Reads the unit's settings text: sends B6 alone; the text runs from data 2 up to the first
// zero byte (or the end of the data). 0 for code 00, and only then is `text` changed; 6 for
// another code; else the failed exchange's status.
Status ReadSettingsLabel(std::string& text);
// Reads the text of the unit's message into g_unitMessage: sends B5 alone; the text runs from
// data 0 up to the first zero byte. 0 for code 21; 6 for another code; else the failed
// exchange's status.
Status ReadUnitMessage();
// Gives the panel's reply to a unit message: sends 9E, `kind` and `value`. 0 for code 05; 6
// for another code; else the failed exchange's status.
Status SendUnitReply(ReplyKind kind, uint8_t value);
// Reads the unit's version information: sends AB alone and copies the answer's data into
// `info` (255 bytes), zero past the data, whatever the code. 0 after any answer; else the
// failed exchange's status, with `info` all zero.
Status ReadVersionInfo(std::span<uint8_t, kVersionInfoSize> info);
// Relays another controller's packet (byte 1 is L, then L payload bytes and its old checksum,
// so at least L + 3 bytes) to the selected unit with a fresh checksum, and copies the whole
// 258-byte answer buffer into `answer`, waiting up to a minute (the request may make the unit
// work). On a failed exchange `answer` stays zero. Returns the exchange's status.
Status RelayPacket(std::span<const uint8_t> packet, AnswerBuffer& answer);
// No request brings the panel keys: clears g_panelKeys and returns 4.
Status ReadPanelKeys();
